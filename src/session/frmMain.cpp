#include "session/frmMain.h"

namespace mitoran {

frmMain::frmMain(QWidget* parent) : QWidget(parent) { setWindowTitle(QStringLiteral("ミトラン")); }

bool frmMain::Form_Load() { show(); return true; }

}  // namespace mitoran
