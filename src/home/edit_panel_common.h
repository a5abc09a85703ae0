#pragma once
// What the three parts of the edit panel share: the message boxes they raise and the registered
// items as the shared arrays hold them.
#include <QString>
#include <string>
#include <vector>

#include "data/data_files.h"

namespace mitoran::edit_panel {

extern const QString kTitleSaveError;
extern const QString kNoSelection;
extern const QString kTitleNoSelection;

void inform(const QString& text, const QString& title);
void warn(const QString& text, const QString& title);
bool confirm(const QString& text, const QString& title);
void tellWriteFailure(const QString& what, const std::string& reason);

// The number of items the shared arrays really hold, whatever ItemCount claims.
int itemCount();
std::vector<ItemRecord> registeredItems();
std::vector<std::string> registeredNames();

// After a successful write the arrays must follow the file; when the file cannot be read back,
// what was just written is what it holds.
void reloadItemsOrAssume(const std::vector<ItemRecord>& written);

}  // namespace mitoran::edit_panel
