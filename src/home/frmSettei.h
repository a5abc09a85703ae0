#pragma once
#include <QWidget>

namespace mitoran {

// Placeholder until the screen is built.
class frmSettei : public QWidget {
    Q_OBJECT
public:
    explicit frmSettei(QWidget* parent = nullptr);
    void Form_Load();
};

}  // namespace mitoran
