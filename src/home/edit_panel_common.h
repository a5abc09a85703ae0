#pragma once
// What the three parts of the edit panel share: the message boxes they raise and the reading back
// of the registered items after a write.
#include <QString>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "home/item_validation.h"

namespace mitoran::edit_panel {

extern const QString kTitleSaveError;
extern const QString kNoSelection;
extern const QString kTitleNoSelection;
extern const QString kBelowOne;
extern const QString kTitleBelowOne;
extern const QString kTitleAboveLimit;
extern const QString kTargetAboveLimit;

void inform(const QString& text, const QString& title);
void warn(const QString& text, const QString& title);
bool confirm(const QString& text, const QString& title);
void tellWriteFailure(const QString& what, const std::string& reason);
// Tells that the item list holds as many items as it can.
void warnItemLimit();
// Tells of the first typed count out of range, the instructed count before the target, as 変更
// checks them; true when both are accepted.
bool countsAccepted(const TypedCount& instructed, const TypedCount& target);

// After a successful write the items must follow the file; when the file cannot be read back,
// what was just written is what it holds.
void reloadItemsOrAssume(const std::vector<ItemRecord>& written);

}  // namespace mitoran::edit_panel
