#include "history/frmGraph.h"

namespace mitoran {

frmGraph::frmGraph(QWidget* parent) : QWidget(parent) { setWindowTitle(QStringLiteral("ミトラン")); }

void frmGraph::Form_Load() { show();  }

}  // namespace mitoran
