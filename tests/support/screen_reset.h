#pragma once
// What a screen test leaves behind must not reach the next test: open screens, help windows and
// the deletions the closing queued.
namespace mitoran::testing {

// Runs the deletions that closing a screen queued, as the event loop would.
void flushDeletes();

// Closes every help window and screen that is open and runs their deletions.
void closeEveryScreen();

}  // namespace mitoran::testing
