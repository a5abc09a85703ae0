#pragma once
// Everything that lives for the whole run, its loaders, and the two small procedures all screens
// use. Everything starts zeroed; resetRun() gives tests a fresh run. Start-up is in startup.h.
#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "app/registered_items.h"
#include "data/data_files.h"
#include "history/history_detail.h"
#include "session/history_analysis.h"

namespace mitoran {

class frmMain;
class frmSettei;
class frmGraph;

// The screens that are open; each is forgotten when it closes (see screens.h).
struct OpenScreens {
    QPointer<frmMain> Prompt;
    QPointer<frmSettei> Home;
    QPointer<frmGraph> History;
};

// The registered items are the holder's own: PCTM.ItemNames(i), PCTM.ItemCount().
struct Pctm : RegisteredItems {
    // The play settings.
    std::int16_t LaunchMode = 0;  // 0 fixed, 1 random, 2 direct
    std::int16_t CountMode = 0;   // 0 instructed, 1 random
    float LaunchInterval = 0;     // minutes

    int ItemListUnreadable = 0;                // lines of the item list that could not be read
    std::vector<int> ItemListUnreadableLines;  // the numbers of the first few of them

    // The help tour: its switch and the text of its next box.
    std::int16_t HelpTourOn = 0;
    std::string HelpTourMessage;

    // The item whose history is analysed or shown, and what its analysis found.
    std::int16_t CurrentItem = 0;
    HistoryAnalysis Analysis;  // the shared record HistoryAnalysis

    // The training round.
    std::int16_t RoundPosition = 0;
    std::int16_t SingleItemMode = 0;
    std::int16_t SingleItemIndex = 0;
    std::int16_t WelcomeShown = 0;
    std::int16_t RoundRestarted = 0;
    // The prompt screen's FlashColourIndex of cmdNext and of cmdNowCut: they run on across rounds.
    int NextFlashColourIndex = 0;
    int NowCutFlashColourIndex = 0;

    // True (-1) while the home screen's load runs; a change of the help tour check box then does
    // nothing.
    std::int16_t HomeLoading = 0;
    // The history list's sort directions, kept across openings of the screen.
    SortToggles ListSort;

    OpenScreens Screens;
};

extern Pctm PCTM;

// A fresh run, as the program starts one: every open screen and help window closed (destroyed
// once control returns to the event loop), every value above as it starts, and no file counted
// as told of its unreadable lines. A run of the program starts fresh by itself; tests and
// benchmarks begin each case with this.
void resetRun();

// Loaders: on success the targets are replaced completely; on failure they keep their values and
// the result says why (in Japanese).
IoResult LoadItemList();
IoResult LoadPlaySettings();
IoResult LoadSettings();

// Waits in the event loop (see WindowServices::waitSeconds).
void WaitSeconds(float seconds);

// Shows HelpTourMessage in a box titled "ヘルプツアー" when the help tour is on.
void ShowHelpTourMessage();

}  // namespace mitoran
