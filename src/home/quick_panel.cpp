#include "home/quick_panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>
#include <cmath>

#include "app/pctm.h"
#include "art/pictures.h"
#include "data/data_folder.h"
#include "data/dates.h"
#include "data/file_io.h"
#include "data/records.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"
#include "ui_quick_panel.h"

namespace mitoran {

namespace {

constexpr const char* kTitle = "クイックマッスル";
constexpr int kPrepareCuesMs = 1500;

}  // namespace

QuickPanel::QuickPanel(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::QuickPanel>()) {
    ui->setupUi(this);
    // Typed text stays as typed: completing "15" to "150" would time the wrong challenge.
    ui->cboNamae->setCompleter(nullptr);
    ui->cboSec->setCompleter(nullptr);
    ui->cboNamae->lineEdit()->setAccessibleName(ui->lblNamaeCaption->text());
    ui->cboSec->lineEdit()->setAccessibleName(ui->lblSecCaption->text());
    setObjectName("fraQuick");
    imgStart[1] = ui->imgStart_1;
    imgStart[2] = ui->imgStart_2;
    imgStart[3] = ui->imgStart_3;
    QSize lampSize;
    for (int k = 1; k <= 3; ++k) {
        const QPixmap picture = pictures::signalPicture(k);
        imgStart[k]->setPixmap(picture);
        lampSize = lampSize.expandedTo(picture.size());
    }
    // The three lamps share one place; while none is lit it shows the dark light.
    ui->imgStartOff->setPixmap(pictures::signalPicture(0));
    ui->fraSignal->setMinimumSize(lampSize);
    showLamp(0);
    ui->cmdStop->setIcon(pictures::stopIcon());

    ui->msgList->setColumnCount(4);
    SetUpQuickGrid();

    connect(ui->cmdStart2, &QAbstractButton::clicked, this, &QuickPanel::cmdStart2_Click);
    connect(ui->cmdStop, &QAbstractButton::clicked, this, &QuickPanel::cmdStop_Click);
    connect(ui->cboNamae, &QComboBox::activated, this, &QuickPanel::cboNamae_Click);
    connect(ui->cboSec, &QComboBox::editTextChanged, this, &QuickPanel::cboSec_Change);
    connect(ui->cboSec, &QComboBox::activated, this, &QuickPanel::cboSec_Click);
    // Keys reach the combo box, which hands Enter to its line edit directly, past the line
    // edit's filters; a key sent to the line edit itself is watched there.
    ui->cboSec->installEventFilter(this);
    ui->cboSec->lineEdit()->installEventFilter(this);

    tmrStart = services().startRepeatingTimer(this, "tmrStart", 1000, [this] { tmrStart_Timer(); });
    tmrBp = services().startRepeatingTimer(this, "tmrBp", 1000, [this] { tmrBp_Timer(); });
    // The sounds are made and loaded once the home screen has settled, well before anyone can
    // reach the start button, so neither the home screen nor this panel waits for them. A plain
    // Qt timer: this is no step of the screen's own that a scripted clock should see or count.
    QTimer::singleShot(kPrepareCuesMs, Qt::CoarseTimer, this, [] { services().prepareCues(); });
}

QuickPanel::~QuickPanel() = default;

bool QuickPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == ui->cboSec || watched == ui->cboSec->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cboSec_KeyPress(13);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void QuickPanel::open() {
    failureShown_ = false;
    ui->cboNamae->clear();
    for (int i = 1; i <= PCTM.ItemCount(); ++i) ui->cboNamae->addItem(qs(PCTM.ItemNames(i)));
    ui->cboNamae->setCurrentIndex(0);
    ui->cboNamae->setEditText(qs(PCTM.ItemNames(1)));

    {
        // Refilling the list passes through texts nobody chose; the preset below sets the seconds.
        const QSignalBlocker block(ui->cboSec);
        ui->cboSec->clear();
        for (int sec = 30; sec <= 180; sec += 30) ui->cboSec->addItem(QString::number(sec));
    }
    PresetQuickSeconds();
    if (!countingDown()) ui->lblZanTim->setText(ui->cboSec->currentText());
    SetUpQuickGrid();
    LoadQuickHistory();
    setVisible(true);
    services().processEvents();

    // clang-format off
    PCTM.HelpTourMessage =
        "これは何秒間に何回こなすことができるか…という、\r\n"
        "ちょっと前に「筋肉番付」というテレビ番組でやっていた\r\n"
        "「クイックマッスル」にトライできる機能です。（クイックマッスル＝３分間腕立て）\r\n"
        "\r\n"
        "定期的に実施することにより筋トレの成果が実際の値で実感できるかもしれません。\r\n"
        "（トレーニング開始時は○○回しかできなかったけど１０日後には◎◎回できるようになった！…など）"
        "\r\n"
        "\r\n"
        "使い方は…\r\n"
        "①最初に競技項目をコンボＢＯＸより選択します。\r\n"
        "②次に競技秒数をコンボＢＯＸより選択します。（リストに無い秒数も手入力で可能です）\r\n"
        "③開始ボタンを押します。信号アイコンが赤→黄→緑に変化し、競技の秒数を逆算表示します。\r\n"
        "④その秒数の間、回数を数えながらトレーニングを行ってください。\r\n"
        "⑤秒数がゼロになりますと回数入力の画面が表示されますのでカウントした回数を登録します。\r\n"
        "⑥実施した日付と時間、回数が保存されます。\r\n";
    // clang-format on
    ShowHelpTourMessage();
}

void QuickPanel::tell(const std::string& text) {
    // Also told from a timer tick, when another program may be in front.
    services().messageBox(qs(text), kTitle, MsgIcon::Exclamation, MsgButtons::Ok, this);
}

Loaded<QuickRecord> QuickPanel::readQuickFile(const std::string& itemName) {
    Loaded<QuickRecord> file = readQuickHistory(itemName);
    if (file.status == ReadStatus::Missing) {
        const IoResult made = createIfMissing(quickFileName(itemName));
        if (!made && !failureShown_) {
            failureShown_ = true;
            tell("クイックマッスルの記録ファイルを作成できませんでした。\r\n" + made.reason);
        }
    } else if (file.status == ReadStatus::Error && !failureShown_) {
        failureShown_ = true;
        tell("クイックマッスルの記録ファイルを読み込めませんでした。\r\n" + file.reason);
    } else if (auto notice = unreadableLinesNotice(quickFileName(itemName), file.skipped,
                                                   file.skippedLines)) {
        tell(*notice);
    }
    return file;
}

void QuickPanel::PresetQuickSeconds() {
    const Loaded<QuickRecord> file = readQuickFile(utf8(ui->cboNamae->currentText()));
    const QString text = qs(presetSecondsText(file.records));
    {
        const QSignalBlocker block(ui->cboSec);
        ui->cboSec->setEditText(text);
    }
    cboSec_Change(text);
}

void QuickPanel::SetUpQuickGrid() {
    GridView* g = ui->msgList;
    g->clear();
    g->setRows(1);
    g->setHeadings({{"№", 620}, {"日付", 2700}, {"秒数", 600}, {"回数", 600}});
}

void QuickPanel::LoadQuickHistory() {
    const std::string name = utf8(ui->cboNamae->currentText());
    const std::string secondsText = utf8(ui->cboSec->currentText());
    const Loaded<QuickRecord> file = readQuickFile(name);
    const QuickListing listing = listQuickAttempts(file.records, secondsText);

    GridView* g = ui->msgList;
    g->setRows(static_cast<int>(listing.rows.size()) + 1);
    int r = 1;
    for (const QuickRow& row : listing.rows) {
        g->setText(r, 0, qs(row.number));
        g->setText(r, 1, qs(row.when));
        g->setText(r, 2, qs(row.seconds));
        g->setText(r, 3, qs(row.count));
        ++r;
    }
    ui->lblQuick_Max->setText(qs(bestText(listing.best)));
    listedName_ = name;
    listedSeconds_ = leadingNumber(secondsText);
}

void QuickPanel::cboNamae_Click() {
    failureShown_ = false;
    SetUpQuickGrid();
    LoadQuickHistory();
}

void QuickPanel::cboSec_Change(const QString& text) {
    if (restoringSeconds_) return;
    const std::optional<std::int16_t> seconds = secondsOf(utf8(text));
    if (!seconds) {
        services().messageBox("競技時間は-32768～32767の範囲の秒数で入力してください。",
                              "競技時間選択", MsgIcon::Exclamation);
        restoringSeconds_ = true;
        ui->cboSec->setEditText(QString::number(QuickSeconds));
        restoringSeconds_ = false;
        if (!countingDown()) ui->lblZanTim->setText(QString::number(QuickSeconds));
        return;
    }
    QuickSeconds = *seconds;
    // While the seconds run down, or their count is asked for, the display is the countdown's.
    if (!countingDown()) ui->lblZanTim->setText(text);
}

void QuickPanel::cboSec_Click() {
    failureShown_ = false;
    cboSec_Change(ui->cboSec->currentText());
    SetUpQuickGrid();
    LoadQuickHistory();
}

void QuickPanel::cboSec_KeyPress(int keyAscii) {
    if (keyAscii != 13) return;
    failureShown_ = false;
    SetUpQuickGrid();
    LoadQuickHistory();
}

void QuickPanel::cmdStart2_Click() {
    challenge_.start();
    DisableHomeButtons();
}

void QuickPanel::cmdStop_Click() { challenge_.stop(); }

void QuickPanel::DisableHomeButtons() {
    emit challengeRunning(true);
    ui->cmdStart2->setEnabled(false);
}

void QuickPanel::EnableHomeButtons() {
    emit challengeRunning(false);
    ui->cmdStart2->setEnabled(true);
    // Disabling the start button handed the focus on to the stop button; with nothing left to
    // stop, the next step is another start.
    const QWidget* focus = QApplication::focusWidget();
    if (isVisible() && (!focus || focus == ui->cmdStop)) ui->cmdStart2->setFocus();
}

void QuickPanel::showLamp(int lamp) {
    for (int k = 1; k <= 3; ++k) imgStart[k]->setVisible(k == lamp);
    ui->imgStartOff->setVisible(lamp == 0);
}

bool QuickPanel::busy() const {
    return challenge_.startRequested() || challenge_.running() || asking_;
}

bool QuickPanel::countingDown() const { return challenge_.running() || asking_; }

std::int64_t QuickPanel::clockSeconds() const {
    return static_cast<std::int64_t>(std::floor(services().monotonicSeconds()));
}

void QuickPanel::tmrStart_Timer() {
    const QuickChallenge::SignalTick tick = challenge_.signalTick(clockSeconds(), QuickSeconds);
    if (tick.lamp == 0) return;
    showLamp(tick.lamp);
    constexpr SoundCue kLampCue[] = {SoundCue::Red, SoundCue::Yellow, SoundCue::Green};
    services().playCue(kLampCue[tick.lamp - 1]);
    if (tick.started) runName_ = utf8(ui->cboNamae->currentText());
}

void QuickPanel::tmrBp_Timer() {
    const QuickChallenge::CountdownTick tick = challenge_.countdownTick(clockSeconds());
    if (tick.stopHandled) {
        if (tick.signalCancelled) showLamp(0);
        ui->lblZanTim->setText(QString::number(QuickSeconds));
        EnableHomeButtons();
    }
    if (!tick.remaining) return;
    ui->lblZanTim->setText(QString::number(*tick.remaining));
    if (tick.cue) services().playCue(*tick.cue);
    if (tick.finished) endChallenge();
}

void QuickPanel::endChallenge() {
    // The countdown is already clear, so ticks during the modal box do nothing.
    asking_ = true;
    // The countdown ends on a timer tick, often with another program in front: the box blocks
    // the program, so it comes up with its screen where the user sees it.
    QWidget* home = window();
    if (home->isMinimized()) services().setWindowState(home, Qt::WindowNoState);
    services().showWindow(home);
    const QString answer = services().inputBox("回数を入力してください", "回数入力", home);
    asking_ = false;
    const double count = leadingNumber(utf8(answer));
    if (count != 0 && !std::isfinite(count)) {
        tell("回数が大きすぎるため記録できませんでした。");
    } else if (count != 0) {
        services().playCue(SoundCue::Saved);
        const LocalDateTime when = services().now();
        const std::int16_t seconds = challenge_.runSeconds();
        const IoResult saved = appendQuick(runName_, when, seconds, count);
        if (!saved) {
            tell("記録を保存できませんでした。\r\n" + saved.reason);
        } else if (runName_ == listedName_ && seconds == listedSeconds_) {
            GridView* g = ui->msgList;
            const int r = g->rows();
            g->setRows(r + 1);
            g->setText(r, 0, QString::number(r));
            g->setText(r, 1, qs(quickWhenText(when)));
            g->setText(r, 2, QString::number(seconds));
            g->setText(r, 3, qs(formatNumber(count)));
            if (count > leadingNumber(utf8(ui->lblQuick_Max->text())))
                ui->lblQuick_Max->setText(qs(bestText(roundHalfEven(count))));
        }
    }
    ui->lblZanTim->setText(QString::number(QuickSeconds));
    EnableHomeButtons();
}

}  // namespace mitoran
