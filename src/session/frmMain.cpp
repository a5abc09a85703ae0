#include "session/frmMain.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>
#include <QScopeGuard>
#include <algorithm>
#include <cmath>

#include "app/pctm.h"
#include "app/screens.h"
#include "art/pictures.h"
#include "data/data_files.h"
#include "data/data_folder.h"
#include "data/item_limit.h"
#include "data/records.h"
#include "home/launch_delay.h"
#include "session/history_analysis.h"
#include "session/prompt_counts.h"
#include "ui/label_width.h"
#include "ui/palette.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"
#include "ui_frmMain.h"

namespace mitoran {
namespace {

// clang-format off
constexpr const char* kWelcomeText =
    "ミトラン に興味をもっていただきありがとうございます。(^o^)／\r\n"
    "\r\n"
    "まずはサンプル登録データでどんなことができるソフトなのかを知って下さい。\r\n"
    "ご自身のデータでスタートする場合は編集ボタンを押して履歴データの初期化を行なってください。\r\n"
    "\r\n"
    "登録されているトレーニング項目と回数を順次表示していきます。\r\n"
    "\r\n"
    "以下のＯＫボタンを押したら、サンプルに従ってトレーニングを実施し\r\n"
    "まずはEnterキーを押すか､次へボタンをクリックしてみてください｡ \r\n"
    "\r\n"
    "トレーニングの実施履歴がデータとして保存されます。 ";

constexpr const char* kStepTwoText =
    "同様に次のトレーニングを実施してみましょう！\r\n"
    "今度は表示される指示数よりも多くか、あるいは少なく実施してみてください。\r\n"
    "\r\n"
    "← →キーを押すか、マウスでスクロールバーをクリックすると指示数が変更されます。\r\n"
    "これが実施数となり任意の回数で保存することが可能です。\r\n"
    "\r\n"
    "実際の実施数に変更したら同様にEnterキーを押すか､次へボタンをクリックします\r\n";

constexpr const char* kStepThreeText =
    "指示数の下に表示されている情報の説明をします。\r\n"
    "\r\n"
    "左から…\r\n"
    "\r\n"
    "「トータル」というのはこれまでの全ての合計数です。セット数と回数を表示しています。\r\n"
    "「最高」は１日分でのセット数、回数で過去に一番多かった値を表示しています。\r\n"
    "「本日」は本日分のセット数、回数の値です。\r\n"
    "「差」は過去の最高値と本日分の差です。\r\n"
    "「平均」は過去の１日分のデータの平均値を表示しています。\r\n"
    "\r\n"
    "「１セットの実績」は過去の１セット分データの最大値と平均値を表示しています。\r\n";

constexpr const char* kStepFourText =
    "今度はこのトレーニングを実施しないで飛ばす方法です。\r\n"
    "\r\n"
    "右上にある二つのボタンの左側、『→』ボタンを押してみてください。\r\n"
    "表示中のトレーニング項目については記録を残さず次の項目に移ります。\r\n"
    "\r\n"
    "右上にある二つのボタンの右側、『ハサミ』ボタンを押してみてください。\r\n"
    "「→」ボタンが一つ飛ばしなのに対して、「ハサミ」ボタンは残り全てを飛ばします。\r\n"
    "\r\n";
// clang-format on

constexpr int kPlanSlots = kItemLimit;
constexpr int kPlanColour = 15;     // white
constexpr int kCurrentColour = 12;  // red

void dressSkipButtons(QPushButton* nowCut, QPushButton* cut) {
    nowCut->setIcon(pictures::arrowIcon());
    cut->setIcon(pictures::scissorsIcon());
}

QColor buttonFace() { return QGuiApplication::palette().color(QPalette::Button); }

int nameFontPoints(const QString& name) {
    const auto length = name.toUcs4().size();  // characters, not bytes of the file
    if (length >= 1 && length <= 5) return 85;
    if (length == 6 || length == 7) return 65;
    return 55;
}

// Below this a name is shortened instead: smaller type would no longer read from a distance.
constexpr int kSmallestNamePoints = 16;

// The name's own size when it fits `room`, else the largest smaller size that does.
int fittingNamePoints(QFont font, const QString& name, int room) {
    int points = nameFontPoints(name);
    font.setPointSize(points);
    const int width = QFontMetrics(font).horizontalAdvance(name);
    if (width <= room) return points;
    points = std::max(kSmallestNamePoints, points * room / std::max(width, 1));
    for (;; --points) {
        font.setPointSize(points);
        if (points <= kSmallestNamePoints || QFontMetrics(font).horizontalAdvance(name) <= room)
            return points;
    }
}

// Every screen shows names of up to this many characters in full.
constexpr int kFullNameCharacters = 12;

QString kanji(int count) { return QString(count, QChar(0x56FD)); }  // 国, as wide as any

// Shows `text` in `room` pixels (by default the label's reserved width), shortened with an
// ellipsis when it is longer; the whole text is then the label's tip.
void showShortened(QLabel* label, const QString& text, int room = -1) {
    if (room < 0) room = label->minimumWidth();
    const QString shown = QFontMetrics(label->font()).elidedText(text, Qt::ElideRight, room);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

// The longest name of each type size fits the name label at that size; only longer names get
// smaller type.
void reserveNameWidth(QLabel* label) {
    int widest = 0;
    for (const auto& [characters, points] :
         {std::pair{5, 85}, std::pair{7, 65}, std::pair{8, 55}}) {
        QFont font = label->font();
        font.setPointSize(points);
        widest = std::max(widest, QFontMetrics(font).size(0, kanji(characters)).width());
    }
    label->setMinimumWidth(std::max(label->minimumWidth(), widest));
}

int proposeCount(int instructed) {
    // The draw is taken only in random mode, as every draw moves the sequence on.
    const bool random = PCTM.CountMode == 1;
    return proposedCount(instructed, random, random ? services().random() : 0.0f);
}

void warnNotRead(const QString& what, const std::string& reason) {
    services().messageBox(what + QStringLiteral("を読み込めませんでした。\n") + qs(reason),
                          QStringLiteral("読み込みエラー"), MsgIcon::Exclamation);
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::frmMain>()) {
    ui->setupUi(this);
    for (int i = 1; i <= kPlanSlots; ++i)
        plan_[i] = findChild<QLabel*>(QStringLiteral("lblSnd_%1").arg(i));
    dressSkipButtons(ui->cmdNowCut, ui->cmdCut);

    reserveNameWidth(ui->lblKoumoku);
    for (int i = 1; i <= kPlanSlots; ++i)
        reserveWidth(plan_[i], {QString::number(kPlanSlots) + QStringLiteral(".") +
                                kanji(kFullNameCharacters)});
    // Each column of figures keeps room for the widest value it can show: totals of millions,
    // day figures of the 16-bit range, differences below zero, averages with a decimal.
    const QString total = QStringLiteral("0000000"), day = QStringLiteral("00000"),
                  difference = QStringLiteral("-00000"), average = QStringLiteral("00000.0");
    for (QLabel* label : {ui->lblSet, ui->lblTotal}) reserveWidth(label, {total});
    for (QLabel* label :
         {ui->lblSetTotalMax, ui->lblDayMax, ui->lblTodaySet, ui->lblTodayTotal, ui->lblSetMax})
        reserveWidth(label, {day});
    for (QLabel* label : {ui->lblSetSa, ui->lblKaiSa}) reserveWidth(label, {difference});
    for (QLabel* label : {ui->lblSetKaiAvg, ui->lblDayAvg, ui->lblSetAvg})
        reserveWidth(label, {average});

    // The plan is written in white and red, so it sits on a dark panel of its own.
    QPalette planPalette = ui->planPanel->palette();
    planPalette.setColor(QPalette::Window, paletteColour(0));
    ui->planPanel->setPalette(planPalette);
    // The flash recolours this window thousands of times in a long session. Handed down to the
    // buttons and the scroll bar, every change would give them a palette of a new identity, and
    // the style keeps cached pictures of them under each identity it has seen: memory that grows
    // set by set. They paint no background of their own (the window shows through them), so
    // they keep the colour they start with and the flash looks the same.
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        QPalette own = child->palette();
        own.setColor(QPalette::Window, own.color(QPalette::Window));
        child->setPalette(own);
    }
    setAutoFillBackground(true);
    setBackground(buttonFace());

    connect(ui->hsbKaisu, &QScrollBar::valueChanged, this, &frmMain::hsbKaisu_Change);
    // While the thumb is dragged the count follows it even where tracking is off.
    connect(ui->hsbKaisu, &QScrollBar::sliderMoved, this, &frmMain::hsbKaisu_Scroll);
    connect(ui->cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(ui->cmdNowCut, &QPushButton::clicked, this, &frmMain::cmdNowCut_Click);
    connect(ui->cmdCut, &QPushButton::clicked, this, &frmMain::cmdCut_Click);
    // A scroll bar's keys run the other way by default; the left arrow must lower the count.
    ui->hsbKaisu->setInvertedControls(false);
    // Every control, so that no key slips past the guard after activation.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

frmMain::~frmMain() = default;

bool frmMain::Form_Load() {
    QPointer<frmMain> self(this);
    // A file that cannot be read leaves the items and modes as they were; the user is told.
    if (const IoResult items = LoadItemList(); !items)
        warnNotRead(QStringLiteral("項目一覧"), items.reason);
    if (const IoResult play = LoadPlaySettings(); !play)
        warnNotRead(QStringLiteral("プレイ設定"), play.reason);
    if (!self || closed_) return false;

    if (PCTM.ItemCount() <= 0) {
        services().messageBox(QStringLiteral("先にトレーニング項目を設定してください"),
                              QStringLiteral("項目無し"), MsgIcon::Exclamation);
        if (!self || closed_) return false;
        closed_ = true;
        screens::openHomeScreen();
        screens::closeScreen(this);
        return false;
    }

    // A screen loaded to wait is shown by its waiting presentation instead.
    if (!isMinimized()) show();

    for (int i = 1; i <= kPlanSlots; ++i) plan_[i]->hide();
    for (int j = 1; j <= std::min<int>(PCTM.ItemCount(), kPlanSlots); ++j) {
        plan_[j]->show();
        setPlanColour(j, kPlanColour);
        const QString entry = QString::number(j) + QStringLiteral(".") + qs(PCTM.ItemNames(j));
        showShortened(plan_[j], entry);
    }

    // The chosen item may have been deleted since it was chosen; then a normal round runs.
    if (PCTM.SingleItemMode != 0 && !PCTM.hasItem(PCTM.SingleItemIndex)) PCTM.SingleItemMode = 0;

    ui->cmdNext->setText(PCTM.ItemCount() == 1 || PCTM.SingleItemMode == -1
                             ? QStringLiteral("終了")
                             : QStringLiteral("次へ"));
    ui->hsbKaisu->setValue(0);
    ui->lblKaisu->setText(QStringLiteral("0"));
    PCTM.RoundPosition = PCTM.SingleItemMode != 0 ? PCTM.SingleItemIndex : 1;
    setPlanColour(PCTM.RoundPosition, kCurrentColour);
    ShowPromptItem();

    PCTM.CurrentItem = PCTM.RoundPosition;
    AnalyseItemHistory();

    if (PCTM.WelcomeShown != -1 && PCTM.RoundRestarted != -1) {
        PCTM.HelpTourMessage = kWelcomeText;
        ShowHelpTourMessage();
        PCTM.WelcomeShown = -1;
    }
    return true;
}

void frmMain::hsbKaisu_Change(int value) { ui->lblKaisu->setText(QString::number(value)); }
void frmMain::hsbKaisu_Scroll(int value) { hsbKaisu_Change(value); }

bool frmMain::hsbKaisu_KeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    cmdNext_Click();
    return true;
}

bool frmMain::keysGuarded() const {
    return services().monotonicSeconds() - activatedAt_ < kKeyGuardSeconds;
}

bool frmMain::event(QEvent* event) {
    // Put away anew while waiting (out of a tray that went away, into the task bar): the window
    // manager's answer to that mapping is no more the user's doing than the first one's. A
    // restore from the task bar shows the window too, but as the window system's own event.
    if (event->type() == QEvent::Show && !event->spontaneous() && waiting_)
        awaySince_ = services().monotonicSeconds();
    if (event->type() == QEvent::WindowActivate) {
        activatedAt_ = services().monotonicSeconds();
        // The user took the waiting screen up before its time: the wait is over for them. Not
        // so the window manager's own answer to the mapping that puts the screen away, which may
        // focus it and report it normal for a moment before it iconifies it.
        if (waiting_ && !isMinimized() && activatedAt_ - awaySince_ >= kAwaySettleSeconds) comeUp();
    }
    if (event->type() == QEvent::KeyPress && keysGuarded()) return true;
    return QWidget::event(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && keysGuarded()) return true;
    if (watched == ui->hsbKaisu && event->type() == QEvent::KeyPress)
        return hsbKaisu_KeyPress(static_cast<QKeyEvent*>(event)->key());
    return QWidget::eventFilter(watched, event);
}

void frmMain::waitThenComeUp(double seconds) {
    if (closed_) return;
    waiting_ = true;
    QPointer<frmMain> self(this);
    services().presentWaiting(
        this, qs(launchStartTime(services().now(), seconds)),
        [self] {
            if (self) self->comeUp();
        },
        [] { services().endProcess(0); });
    awaySince_ = services().monotonicSeconds();
    // Owned by this screen: a round finished before the delay ends takes the delay with it.
    launchTimer_ = services().startSingleShot(this, QStringLiteral("launch"), seconds, [self] {
        if (self) self->launchDelayEnded();
    });
}

void frmMain::launchDelayEnded() {
    if (closed_) return;
    // Taken up early and being worked on: the round just goes on. Put away again, it comes back.
    if (!waiting_ && isVisible() && !isMinimized()) return;
    comeUp();
    services().notify(QStringLiteral("ミトラン"), QStringLiteral("トレーニングを開始します。"));
}

void frmMain::comeUp() {
    if (closed_) return;
    waiting_ = false;
    services().bringUp(this);
    ui->hsbKaisu->setFocus();
}

void frmMain::ShowPromptItem() {
    const int p = PCTM.RoundPosition;
    if (!PCTM.hasItem(p)) return;
    const QString name = qs(PCTM.ItemNames(p));
    QFont font = ui->lblKoumoku->font();
    // All the width the label has: a long name keeps its 55 points wherever the window gives it
    // room, and gets smaller type only where it would otherwise be cut.
    const int room =
        std::max(ui->lblKoumoku->minimumWidth(), ui->lblKoumoku->contentsRect().width());
    font.setPointSize(fittingNamePoints(font, name, room));
    ui->lblKoumoku->setFont(font);
    // A name too long even for the smallest type shows its beginning.
    showShortened(ui->lblKoumoku, name, room);

    const int proposal = proposeCount(PCTM.ItemInstructed(p));
    ui->lblKaisu->setText(QString::number(proposal));
    ui->hsbKaisu->setValue(proposal);
    ui->hsbKaisu->setFocus();
}

void frmMain::AnalyseItemHistory() {
    QPointer<frmMain> self(this);
    Loaded<HistoryRecord> loaded;
    if (PCTM.hasItem(PCTM.CurrentItem)) {
        const std::string& name = PCTM.ItemNames(PCTM.CurrentItem);
        loaded = readHistory(name);
        if (loaded.status == ReadStatus::Missing) {
            // The item simply has no set yet; an existing file is never touched here.
            if (const IoResult made = createIfMissing(historyFileName(name)); !made)
                services().messageBox(
                    QStringLiteral("履歴ファイルを作成できませんでした。\n") + qs(made.reason),
                    QStringLiteral("保存エラー"), MsgIcon::Exclamation);
        } else if (loaded.status == ReadStatus::Error) {
            warnNotRead(QStringLiteral("履歴"), loaded.reason);
        } else if (auto notice = unreadableLinesNotice(historyFileName(name), loaded.skipped,
                                                       loaded.skippedLines)) {
            services().messageBox(qs(*notice), QStringLiteral("読み込みエラー"),
                                  MsgIcon::Exclamation);
        }
    }
    // The shared record is written over in place: its storage is reused from item to item.
    AnalysisResult result;
    result.analysis = std::move(PCTM.Analysis);
    analyseHistory(loaded.records, services().now().date, result);
    const PromptStatistics s = promptLabels(result);
    PCTM.Analysis = std::move(result.analysis);
    if (!self) return;

    ui->lblSet->setText(qs(s.lblSet));
    ui->lblSetTotalMax->setText(qs(s.lblSetTotalMax));
    ui->lblTodaySet->setText(qs(s.lblTodaySet));
    ui->lblSetSa->setText(qs(s.lblSetSa));
    ui->lblSetKaiAvg->setText(qs(s.lblSetKaiAvg));
    ui->lblTotal->setText(qs(s.lblTotal));
    ui->lblDayMax->setText(qs(s.lblDayMax));
    ui->lblTodayTotal->setText(qs(s.lblTodayTotal));
    ui->lblKaiSa->setText(qs(s.lblKaiSa));
    ui->lblDayAvg->setText(qs(s.lblDayAvg));
    ui->lblSetMax->setText(qs(s.lblSetMax));
    ui->lblSetAvg->setText(qs(s.lblSetAvg));
}

void frmMain::cmdNext_Click() {
    // The flash lets events run: a second Enter then must neither record twice nor skip an item.
    if (busy_ || closed_) return;
    QPointer<frmMain> self(this);
    busy_ = true;
    const auto release = qScopeGuard([self] {
        if (self) self->busy_ = false;
    });

    const double shown = leadingNumber(ui->lblKaisu->text().toStdString());
    if (shown < 1) {
        const MsgResult answer = services().messageBox(
            QStringLiteral("回数ゼロで次へ進もうとしていますがよろしいですか？"),
            QStringLiteral("確認"), MsgIcon::Exclamation, MsgButtons::OkCancel);
        if (!self || closed_) return;
        if (answer != MsgResult::Ok) {
            ui->hsbKaisu->setFocus();
            return;
        }
    }

    const int p = PCTM.RoundPosition;
    if (!PCTM.hasItem(p)) return;
    const IoResult written =
        appendHistory(PCTM.ItemNames(p), services().now(), toInt16(shown).value_or(0));
    if (!written) {
        // Not on disk means not recorded: the same item and count stay up for another try.
        services().messageBox(QStringLiteral("このセットは保存されませんでした。\n") +
                                  qs(written.reason) +
                                  QStringLiteral("\n\n同じ項目のまま、もう一度記録できます。"),
                              QStringLiteral("保存エラー"), MsgIcon::Exclamation);
        if (self && !closed_) ui->hsbKaisu->setFocus();
        return;
    }

    if (PCTM.ItemCount() == p + 1) ui->cmdNext->setText(QStringLiteral("終わり"));
    if (PCTM.SingleItemMode == -1) {
        PCTM.SingleItemMode = 0;
        endRound();
        return;
    }
    if (p < PCTM.ItemCount()) {
        if (!advance(PCTM.NextFlashColourIndex)) return;
    } else {
        endRound();
    }
    showStepHelp(PCTM.RoundPosition);
}

void frmMain::cmdNowCut_Click() {
    if (busy_ || closed_) return;
    QPointer<frmMain> self(this);
    busy_ = true;
    const auto release = qScopeGuard([self] {
        if (self) self->busy_ = false;
    });

    if (PCTM.ItemCount() == PCTM.RoundPosition + 1) ui->cmdNext->setText(QStringLiteral("終わり"));
    if (PCTM.RoundPosition < PCTM.ItemCount())
        advance(PCTM.NowCutFlashColourIndex);
    else
        endRound();
}

void frmMain::cmdCut_Click() {
    if (closed_) return;
    endRound();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing by the frame cuts the round; the program must not be left without a window.
    if (!closed_) cmdCut_Click();
    event->accept();
}

bool frmMain::advance(int& flashCounter) {
    QPointer<frmMain> self(this);
    flash(flashCounter);
    // The colour was shown, so the next flash takes the next one even if the round ends here.
    flashCounter = nextFlashColour(flashCounter);
    if (!self || closed_) return false;  // cut while the flash was showing

    setPlanColour(PCTM.RoundPosition, kPlanColour);
    ++PCTM.RoundPosition;
    setPlanColour(PCTM.RoundPosition, kCurrentColour);
    ShowPromptItem();
    PCTM.CurrentItem = PCTM.RoundPosition;
    AnalyseItemHistory();
    return true;
}

void frmMain::flash(int colourIndex) {
    QPointer<frmMain> self(this);
    setBackground(paletteColour(colourIndex));
    WaitSeconds(0.1f);
    if (self) setBackground(buttonFace());
}

void frmMain::setBackground(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

QLabel* frmMain::planLabel(int position) const {
    return position >= 1 && position <= kPlanSlots ? plan_[position] : nullptr;
}

void frmMain::setPlanColour(int position, int colourIndex) {
    QLabel* label = planLabel(position);
    if (!label) return;
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, paletteColour(colourIndex));
    label->setPalette(p);
}

void frmMain::endRound() {
    closed_ = true;
    waiting_ = false;
    if (launchTimer_) launchTimer_->stop();
    // However the round ends (recorded, cut, skipped past its end, closed by the frame), the
    // single item was trained or given up: the next round is a whole one again.
    PCTM.SingleItemMode = 0;
    screens::closeScreen(this);
    screens::openHomeScreen();
}

void frmMain::showStepHelp(int position) {
    const char* text = position == 2   ? kStepTwoText
                       : position == 3 ? kStepThreeText
                       : position == 4 ? kStepFourText
                                       : nullptr;
    if (!text) return;
    PCTM.HelpTourMessage = text;
    ShowHelpTourMessage();
}

}  // namespace mitoran
