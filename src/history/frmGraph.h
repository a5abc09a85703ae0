#pragma once
#include <QWidget>

namespace mitoran {

// Placeholder until the screen is built.
class frmGraph : public QWidget {
    Q_OBJECT
public:
    explicit frmGraph(QWidget* parent = nullptr);
    void Form_Load();
};

}  // namespace mitoran
