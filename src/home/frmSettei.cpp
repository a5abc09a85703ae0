#include "home/frmSettei.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "app/pctm.h"
#include "app/screens.h"
#include "art/pictures.h"
#include "data/data_files.h"
#include "data/item_limit.h"
#include "history/frmGraph.h"
#include "home/achievement_bar.h"
#include "home/help_window.h"
#include "home/launch_delay.h"
#include "session/frmMain.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"
#include "ui_frmSettei.h"

namespace mitoran {

namespace {

// One row of bars for every item the program can hold.
constexpr int kBarRows = kItemLimit;
const char* const kLineBreak = "\r\n";

// Names of up to this many characters show in full; longer ones are shortened where the window
// would otherwise have to grow past the screen.
constexpr int kFullNameCharacters = 12;

// The width of the longest name shown in full; a kanji is as wide as any character.
int fullNameWidth(const QFont& font) {
    return QFontMetrics(font).size(0, QString(kFullNameCharacters, QChar(0x56FD))).width();
}

std::string joinLines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += kLineBreak;
    }
    return text;
}

}  // namespace

frmSettei::frmSettei(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::frmSettei>()) {
    ui->setupUi(this);
    ItemAchievement.assign(kBarRows + 1, 0.0f);

    lblKoumokuw.assign(kBarRows + 1, nullptr);
    shpTasseiB.assign(kBarRows + 1, nullptr);
    shpTassei.assign(kBarRows + 1, nullptr);
    lblTassei.assign(kBarRows + 1, nullptr);
    for (int i = 1; i <= kBarRows; ++i) {
        const QString n = QString::number(i);
        lblKoumokuw[i] = findChild<QLabel*>(QStringLiteral("lblKoumokuw_") + n);
        shpTasseiB[i] = findChild<BarTrack*>(QStringLiteral("shpTasseiB_") + n);
        shpTassei[i] = findChild<BarFill*>(QStringLiteral("shpTassei_") + n);
        lblTassei[i] = findChild<QLabel*>(QStringLiteral("lblTassei_") + n);
        lblKoumokuw[i]->setMinimumWidth(
            std::max(lblKoumokuw[i]->minimumWidth(), fullNameWidth(lblKoumokuw[i]->font())));
    }

    // The panels share one place; each keeps its size while hidden so the window does not jump
    // when the user switches between them.
    for (QWidget* panel :
         {static_cast<QWidget*>(ui->fraMain), static_cast<QWidget*>(ui->fraSettei),
          static_cast<QWidget*>(ui->fraToday), static_cast<QWidget*>(ui->fraQuick)}) {
        QSizePolicy policy = panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        panel->setSizePolicy(policy);
    }

    ui->chkHelp->setIcon(pictures::helpTourIcon());

    connect(ui->cmdMain, &QPushButton::clicked, this, &frmSettei::cmdMain_Click);
    connect(ui->cmdMaster, &QPushButton::clicked, this, &frmSettei::cmdMaster_Click);
    connect(ui->cmdToday, &QPushButton::clicked, this, &frmSettei::cmdToday_Click);
    connect(ui->cmdQuick, &QPushButton::clicked, this, &frmSettei::cmdQuick_Click);
    connect(ui->cmdGraph, &QPushButton::clicked, this, &frmSettei::cmdGraph_Click);
    connect(ui->cmdAgain, &QPushButton::clicked, this, &frmSettei::cmdAgain_Click);
    connect(ui->cmdHelp, &QPushButton::clicked, this, &frmSettei::cmdHelp_Click);
    connect(ui->cmdEnd, &QPushButton::clicked, this, &frmSettei::cmdEnd_Click);
    // Also raised when the load sets the box, as the switch's own guard expects.
    connect(ui->chkHelp, &QCheckBox::toggled, this, &frmSettei::chkHelp_Click);
    connect(ui->msgIchiran, &GridView::dblClick, this, &frmSettei::msgIchiran_DblClick);
    ui->msgIchiran->installEventFilter(this);
    connect(ui->fraSettei, &EditPanel::itemsChanged, this, &frmSettei::itemsChanged);
    // A restored history (or an item added back with it) is shown by an open history screen too.
    connect(ui->fraSettei, &EditPanel::historyRestored, this, [] {
        if (frmGraph* open = screens::historyScreen()) open->reloadItems();
    });

    // A running challenge keeps the next round, the history screen and the item editing shut:
    // an item renamed or deleted meanwhile would get its attempt under a name that is gone.
    connect(ui->fraQuick, &QuickPanel::challengeRunning, this, [this](bool running) {
        for (QWidget* button : {ui->cmdAgain, ui->cmdGraph, ui->cmdMaster})
            button->setEnabled(!running);
    });
}

frmSettei::~frmSettei() = default;

void frmSettei::Form_Load() {
    HelpFilePath = QStringLiteral("ZovHelp.chm");
    PCTM.HomeLoading = -1;
    ui->fraSettei->showStoredInterval();

    if (PCTM.ItemCount() <= 0) {
        // Nothing to overview: the user came here to register items, so the edit panel opens,
        // and the help tour switch works as it does with items.
        setHelpCheck(PCTM.HelpTourOn != 0);
        HideAllPanels();
        SetUpOverviewGrid();
        FillOverview();
        QPointer<frmSettei> self(this);
        services().showWindow(this);
        services().processEvents();
        if (!self || handedOver_) return;
        PCTM.HomeLoading = 0;
        cmdMaster_Click();
        return;
    }

    setHelpCheck(PCTM.HelpTourOn != 0);
    HideAllPanels();
    SetUpOverviewGrid();

    // Painted before the history files are read, so the window is never blank while they load.
    QPointer<frmSettei> self(this);
    services().showWindow(this);
    services().processEvents();
    if (!self || handedOver_) return;

    ComputeItemTotals();
    ui->fraMain->setVisible(true);
    FillOverview();
    if (!self || handedOver_) return;
    PCTM.HomeLoading = 0;

    // clang-format off
    PCTM.HelpTourMessage = joinLines({
        "一通りのトレーニングをこなしますとこの画面になります。",
        "ここから再度トレーニングを開始することができますし、各種機能が利用できます。",
        "",
        "各種項目の「目標回数」「実施した回数のトータル」「目標に対する達成率」などをリスト表示してます。",
        "バーグラフとパーセンテージは、各トレーニング項目の目標に対する進度です。",
        "",
        "それでは機能説明をしますので 『本日実績』 ボタンを押してみて下さい。",
        "",
        "※なお、開始（次のスタンバイ）を押すともう一度最初からトレーニングを再開できます。",
        "（ランダムモードの時はタスクバーに一旦隠れてスタンバイ状態）",
        "",
        "※リストの任意の行をダブルクリックするとそのトレーニングのみを支援します。",
    });
    // clang-format on
    ShowHelpTourMessage();
}

void frmSettei::HideAllPanels() {
    ui->fraMain->setVisible(false);
    ui->fraQuick->setVisible(false);
    ui->fraSettei->setVisible(false);
    ui->fraToday->setVisible(false);
}

void frmSettei::SetUpOverviewGrid() {
    GridView* grid = ui->msgIchiran;
    grid->setColumnCount(7);
    grid->clear();
    grid->setFontSize(16);
    grid->setRows(1);

    static const char* const headers[7] = {"トレーニング名", "目標回数",  "実施回数", "達成率",
                                           "本日回数",       "実施ｾｯﾄ数", "本日ｾｯﾄ数"};
    applyOverviewWidths();
    for (int col = 0; col < 7; ++col) grid->setText(0, col, QString::fromUtf8(headers[col]));
    for (int col = 0; col < 7; ++col) grid->setColumnCentred(col);
    grid->setHeaderFontSize(11);
}

void frmSettei::applyOverviewWidths() {
    // The widths keep their proportions; a wider window shares its extra width among them so
    // that "100.0%" in the large type is not cut. A column whose texts need more than its share
    // (a target of ten digits, a long name) gets what they need first.
    static const int widths[7] = {3180, 1300, 1300, 1200, 1300, 1300, 1300};
    GridView* grid = ui->msgIchiran;
    const double pixelsPerTwip = grid->logicalDpiX() / (15.0 * 96.0);
    const QFontMetrics cells(grid->font());
    const QFontMetrics header(grid->horizontalHeader()->font());
    // The room a cell and a header section keep beside their text, plus a pixel of grid line.
    const int cellMargin =
        2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
    const int headerMargin =
        2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid->horizontalHeader()) +
        1;
    int totalTwips = 0;
    for (int w : widths) totalTwips += w;
    double base[7];
    double totalBase = 0;
    for (int col = 0; col < 7; ++col) {
        int needed = header.horizontalAdvance(grid->text(0, col)) + headerMargin;
        for (int row = 1; row < grid->rows(); ++row)
            needed = std::max(needed, cells.horizontalAdvance(grid->text(row, col)) + cellMargin);
        // A longer name is shortened by the grid rather than push the figures out of view.
        if (col == 0) needed = std::min(needed, fullNameWidth(grid->font()) + cellMargin);
        base[col] = std::max(widths[col] * pixelsPerTwip, double(needed));
        totalBase += base[col];
    }
    const double extra = std::max(0.0, grid->viewport()->width() - 2.0 - totalBase);
    for (int col = 0; col < 7; ++col) {
        const double pixels = base[col] + extra * widths[col] / totalTwips;
        grid->setColumnWidthTwips(col, static_cast<int>(std::ceil(pixels / pixelsPerTwip)));
    }
}

bool frmSettei::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->msgIchiran && event->type() == QEvent::Resize) applyOverviewWidths();
    return QWidget::eventFilter(watched, event);
}

void frmSettei::ComputeItemTotals() {
    const ItemHistories histories = readItemHistories(PCTM.itemNamesFrom1(), PCTM.ItemCount());
    const Date today = services().now().date;
    totals_ = mitoran::ComputeItemTotals(histories, today);
    dates_ = BuildItemDates(histories, today);
    reportUnreadable(histories.unreadable);
    for (const std::string& notice : histories.notices)
        services().messageBox(qs(notice), QStringLiteral("履歴読み込みエラー"),
                              MsgIcon::Exclamation);
}

void frmSettei::reportUnreadable(const std::vector<std::string>& unreadable) {
    if (unreadable.empty()) return;
    std::string text = "次のトレーニング履歴を読み込めませんでした。";
    text += kLineBreak;
    text += "実績は０件として表示します。（ファイルは変更していません）";
    text += kLineBreak;
    for (const std::string& line : unreadable) {
        text += kLineBreak;
        text += line;
    }
    services().messageBox(qs(text), QStringLiteral("履歴読み込みエラー"), MsgIcon::Exclamation);
}

void frmSettei::FillOverview() {
    for (int r = 1; r <= kBarRows; ++r) {
        lblKoumokuw[r]->setText(QString());
        lblKoumokuw[r]->setToolTip(QString());
        lblTassei[r]->setText(QStringLiteral("0%"));
        lblKoumokuw[r]->setVisible(false);
        shpTasseiB[r]->setVisible(false);
        shpTassei[r]->setVisible(false);
        lblTassei[r]->setVisible(false);
    }

    GridView* grid = ui->msgIchiran;
    const int itemCount = PCTM.ItemCount();
    grid->setRows(itemCount + 1);
    if (static_cast<int>(ItemAchievement.size()) < itemCount + 1)
        ItemAchievement.resize(itemCount + 1, 0.0f);

    const auto figure = [](const auto& table, int i) -> std::int64_t {
        return i < static_cast<int>(table.size()) ? table[i] : 0;
    };

    QPointer<frmSettei> self(this);
    bool painted = false;
    for (int i = 1; i <= itemCount; ++i) {
        if (!self || handedOver_) return;
        const std::string name = PCTM.ItemNames(i);
        if (name.empty()) break;
        const std::int32_t target = PCTM.ItemTarget(i);
        const OverviewRow row = overviewRow(figure(totals_.ItemTotalCount, i), target);
        ItemAchievement[i] = row.achievement;
        const QString rate = qs(row.rateText);

        const bool hasBar = i <= kBarRows;
        if (hasBar) {
            lblKoumokuw[i]->setVisible(true);
            shpTasseiB[i]->setVisible(true);
            shpTassei[i]->setVisible(true);
            lblTassei[i]->setVisible(true);
        }

        grid->setText(i, 0, qs(name));
        grid->setText(i, 1, QString::number(target));
        grid->setText(i, 2, QString::number(figure(totals_.ItemTotalCount, i)));
        grid->setText(i, 3, rate);
        grid->setText(i, 4, QString::number(figure(totals_.ItemTodayCount, i)));
        grid->setText(i, 5, QString::number(figure(totals_.ItemTotalSets, i)));
        grid->setText(i, 6, QString::number(figure(totals_.ItemTodaySets, i)));

        if (hasBar) {
            const QString whole = qs(name);
            const QString shown =
                QFontMetrics(lblKoumokuw[i]->font())
                    .elidedText(whole, Qt::ElideRight, lblKoumokuw[i]->minimumWidth());
            lblKoumokuw[i]->setText(shown);
            lblKoumokuw[i]->setToolTip(shown == whole ? QString() : whole);
            lblTassei[i]->setText(rate);
            shpTassei[i]->setLength(row.barLength);
            shpTasseiB[i]->setAccessibleName(whole + QStringLiteral("の達成率"));
            shpTasseiB[i]->setAccessibleDescription(rate);
        }
        if (row.goalReached) {
            // The user sees the bars behind the message. Once per fill is enough: the box's own
            // event loop repaints the window behind it for the messages that follow.
            if (!painted) {
                if (!isVisible()) services().showWindow(this);
                services().processEvents();
                painted = true;
                if (!self || handedOver_) return;
            }
            services().messageBox(
                qs(name + " が目標回数を達成しました！" + kLineBreak + kLineBreak +
                   "さらなる飛躍を目指して次の目標を設定しましょう！"),
                QStringLiteral("目標回数達成！"), MsgIcon::Information);
            if (!self || handedOver_) return;
        }
        if (hasBar && row.colour) shpTassei[i]->setColourIndex(*row.colour);
    }
    applyOverviewWidths();
}

void frmSettei::itemsChanged() {
    ComputeItemTotals();
    FillOverview();
}

float frmSettei::itemAchievement(int item) const {
    return item >= 0 && item < static_cast<int>(ItemAchievement.size()) ? ItemAchievement[item]
                                                                        : 0.0f;
}

int frmSettei::barLength(int row) const {
    return row >= 1 && row <= kBarRows ? shpTassei[row]->length() : 0;
}

int frmSettei::barColour(int row) const {
    return row >= 1 && row <= kBarRows ? shpTassei[row]->colourIndex() : -1;
}

bool frmSettei::barRowShown(int row) const {
    return row >= 1 && row <= kBarRows && !shpTasseiB[row]->isHidden();
}

void frmSettei::setHelpCheck(bool on) { ui->chkHelp->setChecked(on); }

// ---- buttons ----

void frmSettei::cmdMain_Click() {
    if (ui->fraMain->isVisibleTo(this)) return;
    HideAllPanels();
    ui->fraMain->setVisible(true);
}

void frmSettei::cmdMaster_Click() {
    if (ui->fraSettei->isVisibleTo(this)) return;
    HideAllPanels();
    ui->fraSettei->open();
}

void frmSettei::cmdToday_Click() {
    if (PCTM.ItemCount() <= 0 || ui->fraToday->isVisibleTo(this)) return;
    HideAllPanels();
    ui->fraToday->open(dates_.ItemDates);
}

void frmSettei::cmdQuick_Click() {
    if (PCTM.ItemCount() <= 0 || ui->fraQuick->isVisibleTo(this)) return;
    HideAllPanels();
    ui->fraQuick->open();
}

void frmSettei::cmdGraph_Click() {
    if (PCTM.ItemCount() <= 0) return;
    PCTM.CurrentItem = 1;
    // An open history screen goes back to the first item too, as a fresh one would open on it.
    if (frmGraph* open = screens::historyScreen()) open->cboKoumoku_Click(0);
    screens::openHistoryScreen();
}

void frmSettei::cmdAgain_Click() {
    // The home screen goes first; nothing below touches it again.
    handedOver_ = true;
    screens::closeScreen(this);
    PCTM.RoundRestarted = -1;

    if (PCTM.LaunchMode == kLaunchDirect) {
        if (frmMain* prompt = screens::openPromptScreen(Qt::WindowNoState))
            services().showWindow(prompt);
        return;
    }

    // Loaded now, minimised; with no item registered it refuses and the home screen is back, so
    // there is nothing to wait for.
    frmMain* prompt = screens::openPromptScreen(Qt::WindowMinimized);
    if (!prompt) return;

    const double delay = LaunchDelay(PCTM.LaunchMode, PCTM.LaunchInterval,
                                     PCTM.LaunchMode == kLaunchRandom ? services().random() : 0.0f);
    // A single shot, not a wait inside this handler, whose screen is being destroyed.
    prompt->waitThenComeUp(delay);
}

void frmSettei::cmdHelp_Click() { HelpWindow::displayTopic(this, HelpFilePath); }

void frmSettei::cmdEnd_Click() {
    HelpWindow::closeAll();
    services().endProcess(0);
}

void frmSettei::closeEvent(QCloseEvent* event) {
    HelpWindow::closeAll();
    services().endProcess(0);
    event->accept();
}

void frmSettei::chkHelp_Click() {
    if (PCTM.HomeLoading) return;
    const bool ticked = ui->chkHelp->isChecked();
    if (ticked) {
        services().messageBox(QStringLiteral("ヘルプツアー機能をオンにします。"),
                              QStringLiteral("ヘルプツアーＯＮ"), MsgIcon::Information);
    } else {
        services().messageBox(QStringLiteral("ヘルプツアー機能をオフにします。"),
                              QStringLiteral("ヘルプツアーＯＦＦ"), MsgIcon::Information);
    }
    const std::int16_t flag = ticked ? 1 : 0;
    const IoResult written = writeSettings(flag);
    if (written) {
        PCTM.HelpTourOn = flag;
        return;
    }

    // The file keeps its old content: the switch shows that, not the click.
    const Loaded<SettingsRecord> onDisk = readSettings();
    if (onDisk.ok() && !onDisk.records.empty()) PCTM.HelpTourOn = onDisk.records.front().helpTour;
    {
        const QSignalBlocker block(ui->chkHelp);
        setHelpCheck(PCTM.HelpTourOn != 0);
    }
    services().messageBox(
        qs("設定ファイル「設定.txt」に書き込めませんでした。" + std::string(kLineBreak) +
           written.reason + kLineBreak + kLineBreak + "ヘルプツアーの設定は変わっていません。"),
        QStringLiteral("設定保存エラー"), MsgIcon::Exclamation);
}

void frmSettei::msgIchiran_DblClick() {
    // A round would close this screen and end the challenge with it, losing the attempt.
    if (ui->fraQuick->busy()) return;
    GridView* grid = ui->msgIchiran;
    const int row = grid->currentRow();
    // Only a row that belongs to a shown item starts a round.
    if (grid->rows() <= 1 || row < 1 || row >= grid->rows() || !PCTM.hasItem(row) ||
        PCTM.ItemNames(row).empty() || grid->text(row, 0).isEmpty())
        return;

    PCTM.SingleItemMode = -1;
    PCTM.SingleItemIndex = static_cast<std::int16_t>(row);
    frmMain* prompt = screens::openPromptScreen(Qt::WindowNoState);
    // A refusal has brought this screen back up already; it stays, and no single round is due.
    if (!prompt) {
        PCTM.SingleItemMode = 0;
        return;
    }
    services().showWindow(prompt);
    handedOver_ = true;
    screens::closeScreen(this);
}

}  // namespace mitoran
