#include "history/frmGraph.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "app/pctm.h"
#include "app/screens.h"
#include "data/data_files.h"
#include "data/data_folder.h"
#include "ui/keyboard.h"
#include "ui/label_width.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"
#include "ui_frmGraph.h"

namespace mitoran {
namespace {

const char* const kCrLf = "\r\n";

std::string screenHelpText() {
    // An entry ending in a blank line is followed by an empty line in the box.
    struct Line {
        const char* text;
        bool blankAfter;
    };
    static const Line lines[] = {
        {"これはトレーニング開始日から現在までの状況を参照できる機能です。", true},
        {"開始日や経過日数、セット数や回数など様々な情報を表示しています。", false},
        {"また各セットの回数を棒グラフで、累計を線グラフで表示します。", true},
        {"表示されているリストとグラフはボタンで切り替えることができます。", false},
        {"リストの任意の列でダブルクリックすると昇順と降順に並び替えて表示することが可能です。",
         true},
        {"下段にあるスクロールバーかコンボＢＯＸで表示するトレーニングの項目を切り替えることができ"
         "ます。",
         true},
        {"メイン画面に戻るにはＥＳＣキーを押すか、右上の×ボタンを押してください。", true},
    };
    std::string text;
    for (const Line& line : lines) {
        text += line.text;
        text += kCrLf;
        if (line.blankAfter) text += kCrLf;
    }
    return text;
}

}  // namespace

frmGraph::frmGraph(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::frmGraph>()) {
    ui->setupUi(this);

    modes_ = new QButtonGroup(this);
    modes_->setExclusive(true);
    modes_->addButton(ui->Option1, 1);
    modes_->addButton(ui->Option2, 2);
    modes_->addButton(ui->Option3, 3);
    modes_->addButton(ui->Option4, 4);
    tabToCheckedButton(modes_);

    ui->msgList->setColumnCount(4);
    ui->msgList->setFixedColumns(1);
    SetUpHistoryList();
    fitListToTenRows();

    QFont big = ui->lblSet->font();
    big.setFamilies({QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAexMincho"),
                     QStringLiteral("IPAMincho"), QStringLiteral("serif")});
    big.setStyleHint(QFont::Serif);
    big.setPointSize(22);
    ui->lblSet->setFont(big);
    ui->lblTotal->setFont(big);

    const QString noData = QString::fromUtf8(noDataSummary().stDate);
    for (QLabel* date : {ui->lblStDate, ui->lblEdDate})
        reserveWidth(date, {QStringLiteral("0000/00/00"), noData});
    for (QLabel* days : {ui->lblDate_Sa, ui->lblJisshibi, ui->lblMiJisshibi})
        reserveWidth(days, {QStringLiteral("00000")});
    for (QLabel* figure : {ui->lblSet, ui->lblTotal})
        reserveWidth(figure, {QStringLiteral("0000000")});
    for (QLabel* figure : {ui->lblSetMax, ui->lblSetMin, ui->lblDayMax, ui->lblDayMin})
        reserveWidth(figure, {QStringLiteral("00000")});
    for (QLabel* average : {ui->lblSetAvg, ui->lblDayAvg})
        reserveWidth(average, {QStringLiteral("00000.00")});

    ui->hsbData->setMinimum(1);
    // Without tracking a drag of the thumb changes the value only when it is released.
    ui->hsbData->setTracking(false);

    connect(ui->cmdModori, &QPushButton::clicked, this, &frmGraph::cmdModori_Click);
    connect(ui->cboKoumoku, &QComboBox::activated, this, &frmGraph::cboKoumoku_Click);
    connect(ui->hsbData, &QScrollBar::valueChanged, this, &frmGraph::hsbData_Change);
    connect(ui->Option1, &QPushButton::clicked, this, &frmGraph::Option1_Click);
    connect(ui->Option2, &QPushButton::clicked, this, &frmGraph::Option2_Click);
    connect(ui->Option3, &QPushButton::clicked, this, &frmGraph::Option3_Click);
    connect(ui->Option4, &QPushButton::clicked, this, &frmGraph::Option4_Click);
    connect(ui->msgList, &GridView::dblClick, this, &frmGraph::msgList_DblClick);
    ui->msgList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->msgList, &QWidget::customContextMenuRequested, this, &frmGraph::showSortMenu);

    // Esc must close the screen whatever control has the focus, so key presses are looked at
    // before any control of this window gets them.
    qApp->installEventFilter(this);

    setFixedSize(sizeHint().expandedTo(QSize(792, 565)));
}

frmGraph::~frmGraph() = default;

void frmGraph::Form_Load() {
    ui->hsbData->setMaximum(std::max<int>(1, PCTM.ItemCount()));
    LoadHistoryDetail();
    ui->Option1->setChecked(true);
    Option1_Click();

    ui->cboKoumoku->clear();
    for (int i = 1; i <= PCTM.ItemCount(); ++i) ui->cboKoumoku->addItem(qs(PCTM.ItemNames(i)));
    if (ui->cboKoumoku->count() > 0) ui->cboKoumoku->setCurrentIndex(0);

    QPointer<frmGraph> self(this);
    services().showWindow(this);
    services().processEvents();
    // The user may have closed the screen while events were processed.
    if (!self || !isVisible()) return;

    PCTM.HelpTourMessage = screenHelpText();
    ShowHelpTourMessage();
}

void frmGraph::fitListToTenRows() {
    // The header and nine data rows in view, and room for the vertical scroll bar beside the
    // columns, so that a long list never needs a horizontal one as well.
    GridView* list = ui->msgList;
    int width = 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < list->columnCount(); ++c) width += list->columnWidth(c);
    const int height = 2 * list->frameWidth() + list->horizontalHeader()->sizeHint().height() +
                       9 * list->verticalHeader()->defaultSectionSize();
    list->setMinimumSize(0, 0);
    list->setFixedSize(width, height);
}

void frmGraph::LoadHistoryDetail() {
    // This screen shows no figures of today, so it leaves what an earlier analysis found.
    const auto keptTodayTotal = PCTM.Analysis.TodayTotal;
    std::vector<HistoryRecord> records;
    const int item = PCTM.CurrentItem;
    if (PCTM.hasItem(item)) {
        Loaded<HistoryRecord> loaded = readHistory(PCTM.ItemNames(item));
        if (loaded.status == ReadStatus::Error) {
            services().messageBox(qs("「" + PCTM.ItemNames(item) +
                                     "」の履歴ファイルを読み込めませんでした。\n" + loaded.reason),
                                  QStringLiteral("筋トレ実績詳細"), MsgIcon::Exclamation);
        }
        // The file is left as it is; the user is told why the figures may look short.
        if (auto notice = unreadableLinesNotice(historyFileName(PCTM.ItemNames(item)),
                                                loaded.skipped, loaded.skippedLines))
            services().messageBox(qs(*notice), QStringLiteral("筋トレ実績詳細"),
                                  MsgIcon::Exclamation);
        if (loaded.ok()) records = std::move(loaded.records);
    }
    PCTM.Analysis = analyseHistory(records, services().now().date).analysis;
    PCTM.Analysis.TodayTotal = keptTodayTotal;

    if (PCTM.Analysis.SetTotal <= 0) {
        ShowNoData();
        return;
    }
    showSummary(summariseHistory(PCTM.Analysis));
}

void frmGraph::ShowNoData() { showSummary(noDataSummary()); }

void frmGraph::showSummary(const HistorySummary& s) {
    ui->lblStDate->setText(qs(s.stDate));
    ui->lblEdDate->setText(qs(s.edDate));
    ui->lblDate_Sa->setText(qs(s.dateSa));
    ui->lblJisshibi->setText(qs(s.jisshibi));
    ui->lblMiJisshibi->setText(qs(s.miJisshibi));
    ui->lblSet->setText(qs(s.set));
    ui->lblTotal->setText(qs(s.total));
    ui->lblSetMax->setText(qs(s.setMax));
    ui->lblSetMin->setText(qs(s.setMin));
    ui->lblSetAvg->setText(qs(s.setAvg));
    ui->lblDayMax->setText(qs(s.dayMax));
    ui->lblDayMin->setText(qs(s.dayMin));
    ui->lblDayAvg->setText(qs(s.dayAvg));
}

void frmGraph::cboKoumoku_Click(int index) { ui->hsbData->setValue(index + 1); }

void frmGraph::hsbData_Change() {
    if (ui->hsbData->isSliderDown()) return;
    SwitchItem();
}

void frmGraph::SwitchItem() {
    const int v = ui->hsbData->value();
    if (v >= 1 && v <= ui->cboKoumoku->count()) ui->cboKoumoku->setCurrentIndex(v - 1);
    PCTM.CurrentItem = static_cast<std::int16_t>(v);
    LoadHistoryDetail();
    showSelectedView();
}

void frmGraph::reloadItems() {
    const int items = std::max<int>(1, PCTM.ItemCount());
    {
        const QSignalBlocker blockBar(ui->hsbData);
        const QSignalBlocker blockCombo(ui->cboKoumoku);
        ui->cboKoumoku->clear();
        for (int i = 1; i <= PCTM.ItemCount(); ++i) ui->cboKoumoku->addItem(qs(PCTM.ItemNames(i)));
        ui->hsbData->setMaximum(items);
        ui->hsbData->setValue(std::clamp(ui->hsbData->value(), 1, items));
    }
    SwitchItem();
}

void frmGraph::showSelectedView() {
    const HistoryAnalysis& a = PCTM.Analysis;
    if (ui->Option1->isChecked())
        ShowSeriesView(a.SetSeries);
    else if (ui->Option2->isChecked())
        ShowSeriesView(a.DoneDaySeries);
    else if (ui->Option3->isChecked())
        ShowSeriesView(a.AllDaySeries);
    else if (ui->Option4->isChecked())
        ShowSeriesView(a.SetCountSeries);
}

void frmGraph::SetUpHistoryList() {
    GridView* list = ui->msgList;
    list->clear();
    list->setFontSize(10);
    list->setHeaderFontSize(10);
    list->setRows(1);
    // A column is at least as wide as the widest text it holds in practice: a font wider than the
    // design's widens the column instead of cutting its texts short.
    const QFontMetrics metrics(list->font());
    const double twipsPerPixel = 15.0 * 96.0 / std::max(1, list->logicalDpiX());
    const auto atLeast = [&](int twips, const char* widest) {
        const int needed = metrics.horizontalAdvance(QString::fromUtf8(widest)) + 12;
        return std::max(twips, static_cast<int>(std::ceil(needed * twipsPerPixel)));
    };
    list->setHeadings({{"№", atLeast(600, "00000")},
                       {"日付", atLeast(1340, "00年00月00日")},
                       {"回数", atLeast(600, "00000")},
                       {"累計", atLeast(790, "0000000")}});
    ui->lblSort->setText(QStringLiteral("日付 昇順"));
}

void frmGraph::ShowSeriesView(const Series& s) {
    SetUpHistoryList();
    const std::vector<SeriesRow> rows = seriesRows(s);
    const int n = static_cast<int>(rows.size());
    ChartView* chart = ui->MSChart1;
    GridView* list = ui->msgList;
    chart->setCategoryCount(n);
    list->setRows(n + 1);
    for (int i = 1; i <= n; ++i) {
        const SeriesRow& row = rows[i - 1];
        chart->setValue(1, i, static_cast<double>(row.totalValue));
        chart->setValue(2, i, static_cast<double>(row.countValue));
        list->setText(i, kColNumber, qs(row.number));
        list->setText(i, kColDate, qs(row.date));
        list->setText(i, kColCount, qs(row.count));
        list->setText(i, kColTotal, qs(row.total));
    }
    chart->redraw();
    if (list->rows() > 10) list->setFirstVisibleRow(list->rows() - 1);
}

void frmGraph::showModeHelp(const char* line1, const char* line2) {
    PCTM.HelpTourMessage = std::string(line1) + kCrLf + kCrLf + line2 + kCrLf;
    ShowHelpTourMessage();
}

void frmGraph::Option1_Click() { ShowSeriesView(PCTM.Analysis.SetSeries); }

void frmGraph::Option2_Click() {
    ShowSeriesView(PCTM.Analysis.DoneDaySeries);
    showModeHelp(
        "「日ごとデータ（実施）ボタン」を押すと、日付毎にまとめたデータとして表示されます。",
        "なお、実施した日だけを表示します。");
}

void frmGraph::Option3_Click() {
    ShowSeriesView(PCTM.Analysis.AllDaySeries);
    showModeHelp(
        "「日ごとデータ（全日）ボタン」を押すと、日付毎にまとめたデータとして表示されます。",
        "なお、実施しなかった日も含めて全てのデータを表示します。");
}

void frmGraph::Option4_Click() {
    ShowSeriesView(PCTM.Analysis.SetCountSeries);
    showModeHelp("「セット数データボタン」を押すと、１日に行ったセット回数のデータになります。",
                 "実施した日だけを表示しています。");
}

void frmGraph::msgList_DblClick() {
    GridView* list = ui->msgList;
    if (auto step = nextSort(list->currentCol(), PCTM.ListSort)) {
        list->sortRows(step->keyColumn, step->descending);
        ui->lblSort->setText(qs(step->label));
    }
    list->setFirstVisibleRow(1);
}

void frmGraph::showSortMenu(const QPoint& pos) {
    GridView* list = ui->msgList;
    // Opened from the keyboard the menu stands at the current cell, which a right click has
    // moved under the pointer anyway.
    const QModelIndex cell = list->currentIndex();
    const QPoint at = cell.isValid() ? list->visualRect(cell).center() : pos;
    const int row = cell.isValid() ? cell.row() + 1 : 0;
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("sortMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const auto& [col, text] :
         {std::pair{kColDate, "日付で並び替え"}, std::pair{kColCount, "回数で並び替え"},
          std::pair{kColTotal, "累計で並び替え"}}) {
        const int column = col;
        menu->addAction(QString::fromUtf8(text), this,
                        [list, row, column] { list->activateCell(row, column); });
    }
    menu->popup(list->viewport()->mapToGlobal(at));
}

void frmGraph::cmdModori_Click() { screens::closeScreen(this); }

bool frmGraph::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isVisible()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            screens::closeScreen(this);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmGraph::closeEvent(QCloseEvent* event) {
    screens::closeScreen(this);
    event->accept();
}

}  // namespace mitoran
