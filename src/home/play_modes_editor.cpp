#include "home/play_modes_editor.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>

#include "app/pctm.h"
#include "data/records.h"
#include "home/edit_panel_common.h"
#include "ui/keyboard.h"
#include "ui/qt_text.h"
#include "ui_play_modes_editor.h"

namespace mitoran {

using namespace edit_panel;

namespace {

constexpr int kKeyEnter = 13;
const QString kTitleDone = QStringLiteral("設定保存終了");

PlaySettings currentPlaySettings() {
    return {PCTM.LaunchMode, PCTM.CountMode, PCTM.LaunchInterval};
}

}  // namespace

PlayModesEditor::PlayModesEditor(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::PlayModesEditor>()) {
    ui->setupUi(this);
    auto* timGroup = new QButtonGroup(this);
    timGroup->addButton(ui->optTim_0, 0);
    timGroup->addButton(ui->optTim_1, 1);
    timGroup->addButton(ui->optTim_2, 2);
    connect(timGroup, &QButtonGroup::idClicked, this, &PlayModesEditor::optTim_Click);
    tabToCheckedButton(timGroup);
    auto* kaisuGroup = new QButtonGroup(this);
    kaisuGroup->addButton(ui->optKaisu_0, 0);
    kaisuGroup->addButton(ui->optKaisu_1, 1);
    connect(kaisuGroup, &QButtonGroup::idClicked, this, &PlayModesEditor::optKaisu_Click);
    tabToCheckedButton(kaisuGroup);

    ui->hsbTime->installEventFilter(this);
    connect(ui->hsbTime, &QScrollBar::valueChanged, this, &PlayModesEditor::hsbTime_Change);
}

PlayModesEditor::~PlayModesEditor() = default;

bool PlayModesEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->hsbTime && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            hsbTime_KeyPress(kKeyEnter);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PlayModesEditor::showStoredModes() {
    filling_ = true;
    (PCTM.CountMode == 1 ? ui->optKaisu_0 : ui->optKaisu_1)->setChecked(true);
    if (PCTM.LaunchMode == 1)
        ui->optTim_0->setChecked(true);
    else if (PCTM.LaunchMode == 0)
        ui->optTim_1->setChecked(true);
    else
        ui->optTim_2->setChecked(true);
    showStoredInterval();
    filling_ = false;
}

void PlayModesEditor::showStoredInterval() {
    const double stored = PCTM.LaunchInterval;
    const int minutes =
        std::isfinite(stored) ? static_cast<int>(std::clamp(roundHalfEven(stored), 1.0, 60.0)) : 60;
    ui->hsbTime->setValue(minutes);
}

IoResult PlayModesEditor::SavePlaySettings() { return writePlaySettings(currentPlaySettings()); }

bool PlayModesEditor::playSettingsAllowClicks() const { return isVisible() && !filling_; }

void PlayModesEditor::storePlaySettings(const PlaySettings& before, const QString& doneMessage) {
    const IoResult saved = SavePlaySettings();
    if (saved) return inform(doneMessage, kTitleDone);
    // The rewrite is all or nothing, so the file still holds the earlier values: memory and the
    // controls go back to them (read back when possible, remembered otherwise).
    PCTM.LaunchMode = before.launchMode;
    PCTM.CountMode = before.countMode;
    PCTM.LaunchInterval = before.interval;
    LoadPlaySettings();
    showStoredModes();
    warn(QStringLiteral("プレイ設定を保存できませんでした。設定は元のままです。\n") +
             qs(saved.reason),
         kTitleSaveError);
}

void PlayModesEditor::optTim_Click(int index) {
    if (!playSettingsAllowClicks() || index < 0 || index > 2) return;
    const PlaySettings before = currentPlaySettings();
    QRadioButton* const buttons[] = {ui->optTim_0, ui->optTim_1, ui->optTim_2};
    buttons[index]->setChecked(true);
    static const std::int16_t modes[] = {1, 0, 2};
    static const char* const texts[] = {"起動指定をランダムモードにしました",
                                        "起動指定を固定モードにしました",
                                        "起動指定をダイレクトモードにしました"};
    PCTM.LaunchMode = modes[index];
    storePlaySettings(before, QString::fromUtf8(texts[index]));
}

void PlayModesEditor::optKaisu_Click(int index) {
    if (!playSettingsAllowClicks() || index < 0 || index > 1) return;
    const PlaySettings before = currentPlaySettings();
    (index == 0 ? ui->optKaisu_0 : ui->optKaisu_1)->setChecked(true);
    PCTM.CountMode = index == 0 ? 1 : 0;
    storePlaySettings(before, index == 0 ? QStringLiteral("回数指定をランダムモードにしました")
                                         : QStringLiteral("回数指定を固定モードにしました"));
}

void PlayModesEditor::hsbTime_Change(int value) {
    ui->lblJikan->setText(QString::number(value) + QStringLiteral("分"));
}

void PlayModesEditor::hsbTime_KeyPress(int keyAscii) {
    if (keyAscii != kKeyEnter || !playSettingsAllowClicks()) return;
    const int value = ui->hsbTime->value();
    const PlaySettings before = currentPlaySettings();
    PCTM.LaunchInterval = static_cast<float>(value);
    storePlaySettings(before, QStringLiteral("起動時間指定を　") + QString::number(value) +
                                  QStringLiteral("分　にしました"));
}

}  // namespace mitoran
