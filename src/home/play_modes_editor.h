#pragma once
// The edit panel's launch and count modes (boxes fraTim and fraKaisu) and the launch wait.
#include <QWidget>
#include <memory>

#include "data/data_files.h"
#include "data/file_io.h"

class QString;

namespace Ui {
class PlayModesEditor;
}

namespace mitoran {

class PlayModesEditor : public QWidget {
    Q_OBJECT
  public:
    explicit PlayModesEditor(QWidget* parent = nullptr);
    ~PlayModesEditor() override;

    // Selects the stored modes and wait, raising no message.
    void showStoredModes();
    // Sets hsbTime from LaunchInterval (the home screen's load does this too).
    void showStoredInterval();

    // Rewrites the play settings file from LaunchMode, CountMode and LaunchInterval.
    IoResult SavePlaySettings();

  public slots:
    void optTim_Click(int index);
    void optKaisu_Click(int index);
    void hsbTime_Change(int value);
    void hsbTime_KeyPress(int keyAscii);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool playSettingsAllowClicks() const;
    void storePlaySettings(const PlaySettings& before, const QString& doneMessage);

    std::unique_ptr<Ui::PlayModesEditor> ui;
    bool filling_ = false;
};

}  // namespace mitoran
