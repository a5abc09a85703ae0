#pragma once
// Keyboard behaviour shared by the screens' option groups.
class QButtonGroup;

namespace mitoran {

// Tab into the group lands on its checked button (on the first while none is checked), as in any
// desktop option group: landing on another one, a Space would change the setting.
void tabToCheckedButton(QButtonGroup* group);

}  // namespace mitoran
