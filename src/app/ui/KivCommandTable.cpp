// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/KivCommandTable.h"

#include <string>
#include <vector>

#include "app/CommandIds.h"
#include "analysis/ModeTable.h"
#include "platform/TrNoop.h"

namespace {

// The menu texts are the program's historical Polish ones; a comment marks each that departs from them.
const KivCommandRow kRows[] = {
    {ID_FILE_NEW, KIV_TR_NOOP("Kiv", "&Nowy\tCtrl+N"), "Ctrl+N", KIV_TR_NOOP("Kiv", "Otwiera nowy dokument\nNowy"),
        ":/icons/new.svg"},
    {ID_FILE_OPEN, KIV_TR_NOOP("Kiv", "&Otwórz...\tCtrl+O"), "Ctrl+O", KIV_TR_NOOP("Kiv", "Otwiera z dysku\nOtwórz"),
        ":/icons/open.svg"},
    {ID_FETCH, KIV_TR_NOOP("Kiv", "O&twórz wykres\tCtrl+W"), "Ctrl+W", KIV_TR_NOOP("Kiv",
        "Pobiera wykres\nPobierz wykres"), ":/icons/fetch.svg"},
    // Close, save as, print preview and setup, recent files, exit, the bars, the windows: Polish prompts, not English.
    {ID_RUN_FETCH, KIV_TR_NOOP("Kiv", "Pobieranie &ciągłe (Start/Stop)\tF5"), "F5",
     KIV_TR_NOOP("Kiv", "Pobiera wykresy raz za razem, aż do zatrzymania\nPobieranie ciągłe (Start/Stop)"),
     ":/icons/run.svg"},
    {ID_SCREENSHOT, KIV_TR_NOOP("Kiv", "Zrzut ek&ranu oscyloskopu..."), "",
     KIV_TR_NOOP("Kiv", "Pobiera obraz ekranu oscyloskopu\nZrzut ekranu oscyloskopu"), nullptr},
    {ID_FILE_CLOSE, KIV_TR_NOOP("Kiv", "&Zamknij"), "", KIV_TR_NOOP("Kiv", "Zamyka aktywny dokument\nZamknij"),
        nullptr},
    {ID_FILE_SAVE, KIV_TR_NOOP("Kiv", "Z&apisz\tCtrl+S"), "Ctrl+S", KIV_TR_NOOP("Kiv", "Zapisuje na dysk\nZapisz"),
        ":/icons/save.svg"},
    // "&j": every entry of a menu has a mnemonic of its own.
    {ID_FILE_SAVE_AS, KIV_TR_NOOP("Kiv", "Zapisz &jako..."), "", KIV_TR_NOOP("Kiv",
        "Zapisuje dokument pod nową nazwą\nZapisz jako"), nullptr},
    {ID_EDIT_COPY, KIV_TR_NOOP("Kiv", "&Kopiuj do schowka\tCtrl+C"), "Ctrl+C|Ctrl+Ins", KIV_TR_NOOP("Kiv",
        "Kopiuje do schowka\nKopiuj do schowka"),
     ":/icons/copy.svg"},
    // A mnemonic, and "..." for the file dialog that follows.
    {ID_IMPORT, KIV_TR_NOOP("Kiv", "&Importuj...\tCtrl+I"), "Ctrl+I", KIV_TR_NOOP("Kiv",
        "Importuje z różnych formatów plików\nImportuj"), nullptr},
    // A mnemonic, and "..." for the file dialog that follows.
    {ID_EXPORT, KIV_TR_NOOP("Kiv", "&Eksportuj...\tCtrl+E"), "Ctrl+E", KIV_TR_NOOP("Kiv",
        "Eksportuje do rożnych formatów plików\nEksportuj"), nullptr},
    {ID_FILE_PRINT, KIV_TR_NOOP("Kiv", "&Drukuj...\tCtrl+P"), "Ctrl+P", KIV_TR_NOOP("Kiv", "Włącza drukowanie\nDrukuj"),
        ":/icons/print.svg"},
    // "&l": "&w" would clash with "&Wyjście".
    {ID_FILE_PRINT_PREVIEW, KIV_TR_NOOP("Kiv", "Podg&ląd wydruku"), "", KIV_TR_NOOP("Kiv",
        "Pokazuje stronę tak, jak zostanie wydrukowana\nPodgląd wydruku"), nullptr},
    // The mnemonic the menu with no document open has always given it.
    {ID_FILE_PRINT_SETUP, KIV_TR_NOOP("Kiv", "&Ustawienia drukarki..."), "", KIV_TR_NOOP("Kiv",
        "Zmienia drukarkę i opcje drukowania\nUstawienia drukarki"),
     nullptr},
    {ID_FILE_MRU_FILE1, "", "", KIV_TR_NOOP("Kiv", "Otwiera ten dokument"), nullptr},
    {ID_FILE_MRU_FILE1 + 1, "", "", KIV_TR_NOOP("Kiv", "Otwiera ten dokument"), nullptr},
    {ID_FILE_MRU_FILE1 + 2, "", "", KIV_TR_NOOP("Kiv", "Otwiera ten dokument"), nullptr},
    {ID_FILE_MRU_FILE1 + 3, "", "", KIV_TR_NOOP("Kiv", "Otwiera ten dokument"), nullptr},
    {ID_APP_EXIT, KIV_TR_NOOP("Kiv", "&Wyjście"), "", KIV_TR_NOOP("Kiv",
        "Kończy pracę programu, pytając o zapisanie zmienionych dokumentów\nWyjście"), nullptr},
    // The plot and axis settings: a mnemonic each, and "..." for the dialog that follows.
    {ID_PLOT1_DATA, KIV_TR_NOOP("Kiv", "Ustawienia &danych..."), "", "", nullptr},
    {ID_PLOT1_SCALE, KIV_TR_NOOP("Kiv", "Ustawienia &skali..."), "", "", nullptr},
    {ID_PLOT2_DATA, KIV_TR_NOOP("Kiv", "Ustawienia &danych..."), "", "", nullptr},
    {ID_PLOT2_SCALE, KIV_TR_NOOP("Kiv", "Ustawienia &skali..."), "", "", nullptr},
    {ID_AXIS_X_SCALE, KIV_TR_NOOP("Kiv", "Ustawienia skali osi &X..."), "", "", nullptr},
    // The settings and view entries below: "&" added, every menu entry has a mnemonic of its own.
    {ID_MEAN_RMS, KIV_TR_NOOP("Kiv", "&Wartość średnia i skuteczna"), "",
     KIV_TR_NOOP("Kiv", "Wyświetla wartość średnią i skuteczną\nWartość średnia i skuteczna"), ":/icons/meanrms.svg"},
    {ID_VIEW_TOOLBAR, KIV_TR_NOOP("Kiv", "Pasek &narzędzi"), "", KIV_TR_NOOP("Kiv",
        "Pokazuje lub ukrywa pasek narzędzi\nPasek narzędzi"), nullptr},
    {ID_VIEW_STATUS_BAR, KIV_TR_NOOP("Kiv", "Pasek &statusu"), "", KIV_TR_NOOP("Kiv",
        "Pokazuje lub ukrywa pasek statusu\nPasek statusu"), nullptr},
    {ID_CURSOR, KIV_TR_NOOP("Kiv", "&Kursor"), "", KIV_TR_NOOP("Kiv", "Włącza kursor\nWłącz kursor"),
        ":/icons/cursor.svg"},
    {ID_WHITE_BACKGROUND, KIV_TR_NOOP("Kiv", "&Białe tło"), "", KIV_TR_NOOP("Kiv", "Włącza białe tło\nWłącz białe tło"),
        ":/icons/white.svg"},
    {ID_OFFSET_CURSOR, KIV_TR_NOOP("Kiv", "Kursor &przesunięcia"), "", KIV_TR_NOOP("Kiv",
        "Włącza kursor przesunięcia\nWłącz kursor przesunięcia"),
     ":/icons/offset.svg"},
    {ID_MEASUREMENTS, KIV_TR_NOOP("Kiv", "Po&miary"), "",
     KIV_TR_NOOP("Kiv", "Pokazuje pomiary automatyczne: częstotliwość, poziomy, wypełnienie, zbocza, THD\nPomiary"),
     ":/icons/measure.svg"},
    {ID_MEASURE_CHOOSE, KIV_TR_NOOP("Kiv", "&Wybierz pomiary…"), "",
     KIV_TR_NOOP("Kiv", "Wybiera pomiary, które pokazuje panel Pomiary\nWybierz pomiary"), nullptr},
    {ID_MEASURE_STATISTICS, KIV_TR_NOOP("Kiv", "S&tatystyki pomiarów"), "",
     KIV_TR_NOOP("Kiv", "Pokazuje przy pomiarach średnią, minimum, maksimum, odchylenie standardowe i liczbę "
                        "zapisów\nStatystyki pomiarów"), nullptr},
    {ID_MEASURE_RESET, KIV_TR_NOOP("Kiv", "&Zeruj statystyki"), "",
     KIV_TR_NOOP("Kiv", "Zaczyna statystyki pomiarów od nowa\nZeruj statystyki"), nullptr},
    // "&": the menu bar's entries have a mnemonic each.
    {ID_GENERATOR, KIV_TR_NOOP("Kiv", "&Generator"), "", KIV_TR_NOOP("Kiv",
        "Włacza Matematyczny generator sygnałów\nMatematyczny generator sygnałów"),
     nullptr},
    {ID_WINDOW_CASCADE, KIV_TR_NOOP("Kiv", "&Kaskadowo"), "", KIV_TR_NOOP("Kiv",
        "Układa okna tak, że zachodzą na siebie\nKaskadowo"), nullptr},
    {ID_WINDOW_TILE_HORZ, KIV_TR_NOOP("Kiv", "&Sąsiadująco"), "", KIV_TR_NOOP("Kiv",
        "Układa okna obok siebie, tak że nie zachodzą na siebie\nSąsiadująco"), nullptr},
    {ID_APP_ABOUT, KIV_TR_NOOP("Kiv", "&O programie..."), "", KIV_TR_NOOP("Kiv", "O programie...\nO programie..."),
        ":/icons/about.svg"},
    {ID_PLOT1_TOGGLE, KIV_TR_NOOP("Kiv", "Włącz wykres 1"), "", KIV_TR_NOOP("Kiv", "Włącza wykres 1\nWłącz wykres 1"),
        ":/icons/plot1.svg"},
    {ID_PLOT2_TOGGLE, KIV_TR_NOOP("Kiv", "Włącz wykres 2"), "", KIV_TR_NOOP("Kiv", "Włącza wykres 2\nWłącz wykres 2"),
        ":/icons/plot2.svg"},
    // Keys only: paste, cut and undo have no handler and stay disabled.
    {ID_EDIT_PASTE, "", "Ctrl+V|Shift+Ins", "", nullptr},
    {ID_EDIT_CUT, "", "Ctrl+X|Shift+Del", "", nullptr},
    {ID_EDIT_UNDO, "", "Ctrl+Z|Alt+Backspace", "", nullptr},
    {ID_NEXT_PANE, "", "F6", "", nullptr},
    {ID_PREV_PANE, "", "Shift+F6", "", nullptr},
};

// The mode commands, in the document's mode order; their toolbar pictures carry the modes' names.
// "&" added to each: every entry of the settings menu has a mnemonic of its own ("X&Y": "&X" is the X axis').
const char* const kModeTexts[kModeCount][2] = {
    {KIV_TR_NOOP("Kiv", "Wykres &oryginalny"), KIV_TR_NOOP("Kiv", "Wyświetla oryginalny wykres\nWykres oryginalny")},
    {KIV_TR_NOOP("Kiv", "&Różniczka"), KIV_TR_NOOP("Kiv", "Wyświetla różniczkę\nRóżniczka")},
    {KIV_TR_NOOP("Kiv", "&Całka"), KIV_TR_NOOP("Kiv", "Wyświetla całkę\nCałka")},
    {KIV_TR_NOOP("Kiv", "Tryb X&Y"), KIV_TR_NOOP("Kiv", "Wyśletla wykresy w trybie XY\nTryb XY")},
    {KIV_TR_NOOP("Kiv", "&Suma wykresów"), KIV_TR_NOOP("Kiv", "Wyswietla sumę wykresów\nSuma wykresów")},
    {KIV_TR_NOOP("Kiv", "&Iloczyn  wykresów"), KIV_TR_NOOP("Kiv", "Wyświetla iloczyn wykresów\nIloczyn wykresów")},
    {KIV_TR_NOOP("Kiv", "Analiza &Fouriera"), KIV_TR_NOOP("Kiv", "Wyświetla widmo częstotliwości\nAnaliza Fouriera")},
};

using K = KivMenuKind;

// "Pomo&c" in both menu bars: "&Pomoc" clashed with "&Plik", "P&omoc" with "&Okno".
const char kHelpMenu[] = KIV_TR_NOOP("Kiv", "Pomo&c");

const KivMenuItem kMenuNoDocument[] = {
    {K::Popup, 0, KIV_TR_NOOP("Kiv", "&Plik")},
    {K::Command, ID_FILE_NEW},
    {K::Command, ID_FILE_OPEN},
    {K::Separator},
    {K::Command, ID_FILE_PRINT_SETUP},
    {K::Separator},
    {K::RecentFiles},
    {K::Separator},
    {K::Command, ID_APP_EXIT},
    {K::EndPopup},
    {K::Popup, 0, KIV_TR_NOOP("Kiv", "&Widok")},
    // The bars' Polish entries of the menu with a document, where this menu had English ones.
    {K::Command, ID_VIEW_TOOLBAR},
    {K::Command, ID_VIEW_STATUS_BAR},
    {K::EndPopup},
    {K::Popup, 0, kHelpMenu},
    {K::Command, ID_APP_ABOUT},
    {K::EndPopup},
};

const KivMenuItem kMenuDocument[] = {
    {K::Popup, 0, KIV_TR_NOOP("Kiv", "&Plik")},
    {K::Command, ID_FILE_NEW},
    {K::Command, ID_FILE_OPEN},
    {K::Command, ID_FETCH},
    {K::Command, ID_RUN_FETCH},
    {K::Command, ID_SCREENSHOT},
    {K::Command, ID_FILE_CLOSE},
    {K::Command, ID_FILE_SAVE},
    {K::Command, ID_FILE_SAVE_AS},
    {K::Command, ID_EDIT_COPY},
    {K::Command, ID_IMPORT},
    {K::Command, ID_EXPORT},
    {K::Separator},
    {K::Command, ID_FILE_PRINT},
    {K::Command, ID_FILE_PRINT_PREVIEW},
    {K::Command, ID_FILE_PRINT_SETUP},
    {K::Separator},
    {K::RecentFiles},
    {K::Separator},
    {K::Command, ID_APP_EXIT},
    {K::EndPopup},
    // "&" added to the settings menu and its plot submenus: every menu has a mnemonic.
    {K::Popup, 0, KIV_TR_NOOP("Kiv", "&Ustawienia")},
    {K::Popup, 0, KIV_TR_NOOP("Kiv", "Wykres &1")},
    {K::Command, ID_PLOT1_DATA},
    {K::Command, ID_PLOT1_SCALE},
    {K::EndPopup},
    {K::Popup, 0, KIV_TR_NOOP("Kiv", "Wykres &2")},
    {K::Command, ID_PLOT2_DATA},
    {K::Command, ID_PLOT2_SCALE},
    {K::EndPopup},
    {K::Separator},
    {K::Command, ID_AXIS_X_SCALE},
    {K::Separator},
    {K::Command, ID_MODE_ORIGINAL},
    {K::Separator},
    {K::Command, ID_MEAN_RMS},
    {K::Separator},
    {K::Command, ID_MODE_DERIVATIVE},
    {K::Command, ID_MODE_INTEGRAL},
    {K::Command, ID_MODE_FOURIER},
    {K::Separator},
    {K::Command, ID_MODE_XY},
    {K::Command, ID_MODE_SUM},
    {K::Command, ID_MODE_PRODUCT},
    {K::EndPopup},
    {K::Popup, 0, KIV_TR_NOOP("Kiv", "&Widok")},
    {K::Command, ID_VIEW_TOOLBAR},
    {K::Command, ID_VIEW_STATUS_BAR},
    {K::Separator},
    {K::Command, ID_CURSOR},
    {K::Command, ID_WHITE_BACKGROUND},
    {K::Command, ID_OFFSET_CURSOR},
    {K::Command, ID_MEASUREMENTS},
    {K::Command, ID_MEASURE_CHOOSE},
    {K::Command, ID_MEASURE_STATISTICS},
    {K::Command, ID_MEASURE_RESET},
    {K::EndPopup},
    {K::Command, ID_GENERATOR},
    {K::Popup, 0, KIV_TR_NOOP("Kiv", "&Okno")},
    {K::Command, ID_WINDOW_CASCADE},
    {K::Command, ID_WINDOW_TILE_HORZ},
    {K::EndPopup},
    {K::Popup, 0, kHelpMenu},
    {K::Command, ID_APP_ABOUT},
    {K::EndPopup},
};

const int kToolbar[] = {
    ID_FILE_NEW,      0, ID_FETCH,         ID_RUN_FETCH,         ID_FILE_OPEN,    ID_FILE_SAVE,    0, ID_EDIT_COPY,        0,
    ID_FILE_PRINT,    0, ID_MODE_ORIGINAL, 0,               ID_MEAN_RMS,     ID_MEASUREMENTS, 0, ID_MODE_DERIVATIVE,
         ID_MODE_INTEGRAL,
    ID_MODE_FOURIER,  0, ID_MODE_XY,       ID_MODE_SUM,     ID_MODE_PRODUCT, 0, ID_PLOT1_TOGGLE,     ID_PLOT2_TOGGLE,
    0,                ID_CURSOR,           ID_OFFSET_CURSOR, ID_WHITE_BACKGROUND, 0, ID_APP_ABOUT,
};

}  // namespace

std::span<const KivCommandRow> KivCommands() {
    static const std::vector<KivCommandRow> rows = [] {
        static std::string icons[kModeCount];
        std::vector<KivCommandRow> all(std::begin(kRows), std::end(kRows));
        for (const KivModeInfo& m : KivModes()) {
            icons[m.index] = std::string(":/icons/") + m.name + ".svg";
            all.push_back({kModeCommands[m.index], kModeTexts[m.index][0], "", kModeTexts[m.index][1],
                           icons[m.index].c_str()});
        }
        return all;
    }();
    return rows;
}

const KivCommandRow* FindKivCommand(int id) {
    for (const KivCommandRow& row : KivCommands())
        if (row.id == id) return &row;
    return nullptr;
}

std::span<const KivMenuItem> KivMenuNoDocument() { return kMenuNoDocument; }
std::span<const KivMenuItem> KivMenuDocument() { return kMenuDocument; }
std::span<const int> KivToolbarLayout() { return kToolbar; }
