#include "home/today_panel.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "app/pctm.h"
#include "data/data_files.h"
#include "data/data_folder.h"
#include "data/dates.h"
#include "home/day_statistics.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"
#include "ui_today_panel.h"

namespace mitoran {

TodayPanel::TodayPanel(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TodayPanel>()) {
    ui->setupUi(this);
    ui->cboDate->setCompleter(nullptr);  // a typed date stays as typed
    ui->cboDate->lineEdit()->setAccessibleName(QStringLiteral("表示する日付"));
    setObjectName("fraToday");
    ui->msgList1->setColumnCount(4);
    SetUpDayGrid();

    connect(ui->hsbData, &QScrollBar::valueChanged, this, &TodayPanel::hsbData_Change);
    connect(ui->cboKoumoku1, &QComboBox::activated, this, &TodayPanel::cboKoumoku1_Click);
    connect(ui->cboDate, &QComboBox::activated, this, &TodayPanel::cboDate_Click);
}

TodayPanel::~TodayPanel() = default;

void TodayPanel::open(const std::vector<std::vector<std::string>>& itemDates) {
    itemDates_ = itemDates;
    {
        // A maximum below the kept position moves it; the computation below covers that.
        const QSignalBlocker block(ui->hsbData);
        ui->hsbData->setMaximum(std::max<int>(1, PCTM.ItemCount()));
    }
    // The list offers the days of the item actually shown, so list and view always agree.
    fillDateList(ui->hsbData->value());
    ui->cboDate->setEditText(qs(formatStoredDate(services().now().date)));

    ui->cboKoumoku1->clear();
    for (int i = 1; i <= PCTM.ItemCount(); ++i) ui->cboKoumoku1->addItem(qs(PCTM.ItemNames(i)));
    ui->cboKoumoku1->setCurrentIndex(0);

    ComputeDayStatistics();
    ShowDayGridAndChart();
    setVisible(true);

    // clang-format off
    PCTM.HelpTourMessage =
        "本日のトレーニング状況を個別の項目毎に参照できる機能です。\r\n"
        "\r\n"
        "「何セット」行ったのか、「何回」行ったのかをはじめ、１日の中での最高記録などを表示しています。\r\n"
        "また各セットの回数を棒グラフで、累計を線グラフで表示します。\r\n"
        "\r\n"
        "中央にある日付のコンボＢＯＸで過去のデータを閲覧する事が可能です。\r\n"
        "下段にあるスクロールバーかコンボＢＯＸで表示するトレーニングの項目を切り替えることができます。\r\n"
        "\r\n";
    // clang-format on
    ShowHelpTourMessage();
}

void TodayPanel::fillDateList(int item) {
    ui->cboDate->clear();
    if (item < 0 || item >= static_cast<int>(itemDates_.size())) return;
    for (const std::string& d : itemDates_[item]) ui->cboDate->addItem(qs(d));
}

void TodayPanel::hsbData_Change() {
    const QString shownDay = ui->cboDate->currentText();
    fillDateList(ui->hsbData->value());
    ui->cboDate->setEditText(shownDay);
    ComputeDayStatistics();
    ShowDayGridAndChart();
}

void TodayPanel::cboKoumoku1_Click() {
    const int pos = ui->cboKoumoku1->currentIndex();
    if (pos < 0) return;
    ui->hsbData->setValue(pos + 1);  // raises hsbData_Change when the item differs
}

void TodayPanel::cboDate_Click() {
    ComputeDayStatistics();
    ShowDayGridAndChart();
}

void TodayPanel::ComputeDayStatistics() {
    const int v = ui->hsbData->value();
    HistoryAnalysis& analysis = PCTM.Analysis;
    if (!PCTM.hasItem(v)) {
        mitoran::ComputeDayStatistics({}, std::nullopt, analysis);
        ClearDayStatistics();
        return;
    }
    ui->cboKoumoku1->setCurrentIndex(v - 1);
    PCTM.CurrentItem = static_cast<std::int16_t>(v);

    const std::optional<Date> day = parseDate(ui->cboDate->currentText().toStdString());
    const Loaded<HistoryRecord> history = readHistory(PCTM.ItemNames(v));
    if (history.status == ReadStatus::Error) {
        services().messageBox(qs("履歴ファイルを読み込めませんでした。\r\n" + history.reason),
                              "本日の実績", MsgIcon::Exclamation);
    } else if (auto notice = unreadableLinesNotice(historyFileName(PCTM.ItemNames(v)),
                                                   history.skipped, history.skippedLines)) {
        services().messageBox(qs(*notice), "本日の実績", MsgIcon::Exclamation);
    }
    mitoran::ComputeDayStatistics(history.records, day, analysis);
    if (analysis.SetTotal == 0) {
        ClearDayStatistics();
        return;
    }
    const DayLabels labels = dayLabels(analysis);
    ui->lblSetMax->setText(qs(labels.best));
    ui->lblSetMin->setText(qs(labels.lowest));
    ui->lblSetAvg->setText(qs(labels.average));
    ui->lblTotal->setText(qs(labels.total));
    ui->lblSet->setText(qs(labels.sets));
}

void TodayPanel::ClearDayStatistics() {
    for (QLabel* l : {ui->lblSet, ui->lblTotal, ui->lblSetMax, ui->lblSetMin, ui->lblSetAvg})
        l->setText("0");
}

void TodayPanel::SetUpDayGrid() {
    GridView* g = ui->msgList1;
    g->clear();
    g->setRows(1);
    g->setHeadings({{"№", 630}, {"日付", 1880}, {"回数", 900}, {"累計", 980}});
}

void TodayPanel::ShowDayGridAndChart() {
    SetUpDayGrid();
    const HistoryAnalysis& analysis = PCTM.Analysis;
    const std::vector<DayRow> rows = dayRows(analysis);
    const int n = static_cast<int>(rows.size());

    ChartView* chart = ui->MSChart1;
    chart->setCategoryCount(n);
    GridView* g = ui->msgList1;
    g->setRows(n + 1);
    for (int k = 1; k <= n; ++k) {
        chart->setValue(1, k, static_cast<double>(analysis.SetSeries.Total[k]));
        chart->setValue(2, k, analysis.SetSeries.Count[k]);
        const DayRow& r = rows[k - 1];
        g->setText(k, 0, qs(r.number));
        g->setText(k, 1, qs(r.date));
        g->setText(k, 2, qs(r.count));
        g->setText(k, 3, qs(r.total));
    }
    chart->redraw();
    // Long days scroll so that the last set is in view.
    g->setFirstVisibleRow(g->rows() > 6 ? g->rows() - 1 : 1);
}

}  // namespace mitoran
