#include "home/frmSettei.h"

namespace mitoran {

frmSettei::frmSettei(QWidget* parent) : QWidget(parent) { setWindowTitle(QStringLiteral("ミトラン")); }

void frmSettei::Form_Load() { show();  }

}  // namespace mitoran
