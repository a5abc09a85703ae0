#pragma once
#include <QWidget>

namespace mitoran {

// Placeholder until the screen is built.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    bool Form_Load();
};

}  // namespace mitoran
