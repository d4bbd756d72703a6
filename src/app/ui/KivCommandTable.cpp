#include "app/ui/KivCommandTable.h"

#include <string>
#include <vector>

#include "app/CommandIds.h"
#include "data/CKivDoc.h"

namespace {

// Where Kiv has no Polish prompt of its own the English framework prompt is shown.
const KivCommandRow kRows[] = {
    {ID_FILE_NEW, "&Nowy\tCtrl+N", "Ctrl+N", "Otwiera nowy dokument\nNowy", ":/icons/new.svg"},
    {ID_FILE_OPEN, "&Otwórz...\tCtrl+O", "Ctrl+O", "Otwiera z dysku\nOtwórz", ":/icons/open.svg"},
    {ID_FETCH, "O&twórz wykres\tCtrl+W", "Ctrl+W", "Pobiera wykres\nPobierz wykres", ":/icons/fetch.svg"},
    {ID_FILE_CLOSE, "&Zamknij", "", "Close the active document\nClose", nullptr},
    {ID_FILE_SAVE, "Z&apisz\tCtrl+S", "Ctrl+S", "Zapisuje na dysk\nZapisz", ":/icons/save.svg"},
    {ID_FILE_SAVE_AS, "Zapisz jako...", "", "Save the active document with a new name\nSave As", nullptr},
    {ID_EDIT_COPY, "&Kopiuj do schowka\tCtrl+C", "Ctrl+C|Ctrl+Ins", "Kopiuje do schowka\nKopiuj do schowka",
     ":/icons/copy.svg"},
    {ID_IMPORT, "Importuj\tCtrl+I", "Ctrl+I", "Importuje z różnych formatów plików\nImportuj", nullptr},
    {ID_EXPORT, "Eksportuj\tCtrl+E", "Ctrl+E", "Eksportuje do rożnych formatów plików\nEksportuj", nullptr},
    {ID_FILE_PRINT, "&Drukuj...\tCtrl+P", "Ctrl+P", "Włącza drukowanie\nDrukuj", ":/icons/print.svg"},
    {ID_FILE_PRINT_PREVIEW, "Podgląd wydruku", "", "Display full pages\nPrint Preview", nullptr},
    {ID_FILE_PRINT_SETUP, "Ustawienia drukarki...", "", "Change the printer and printing options\nPrint Setup",
     nullptr},
    {ID_FILE_MRU_FILE1, "", "", "Open this document", nullptr},
    {ID_FILE_MRU_FILE1 + 1, "", "", "Open this document", nullptr},
    {ID_FILE_MRU_FILE1 + 2, "", "", "Open this document", nullptr},
    {ID_FILE_MRU_FILE1 + 3, "", "", "Open this document", nullptr},
    {ID_APP_EXIT, "&Wyjście", "", "Quit the application; prompts to save documents\nExit", nullptr},
    {ID_PLOT1_DATA, "Ustawienia danych", "", "", nullptr},
    {ID_PLOT1_SCALE, "Ustawienia skali", "", "", nullptr},
    {ID_PLOT2_DATA, "Ustawienia danych", "", "", nullptr},
    {ID_PLOT2_SCALE, "Ustawienia skali", "", "", nullptr},
    {ID_AXIS_X_SCALE, "Ustawienia skali osi X", "", "", nullptr},
    {ID_MEAN_RMS, "Wartość średnia i skuteczna", "",
     "Wyświetla wartość średnią i skuteczną\nWartość średnia i skuteczna", ":/icons/meanrms.svg"},
    {ID_VIEW_TOOLBAR, "Pasek narzędzi", "", "Show or hide the toolbar\nToggle ToolBar", nullptr},
    {ID_VIEW_STATUS_BAR, "Pasek statusu", "", "Show or hide the status bar\nToggle StatusBar", nullptr},
    {ID_CURSOR, "Kursor", "", "Włącza kursor\nWłącz kursor", ":/icons/cursor.svg"},
    {ID_WHITE_BACKGROUND, "Białe tło", "", "Włącza białe tło\nWłącz białe tło", ":/icons/white.svg"},
    {ID_OFFSET_CURSOR, "Kursor przesunięcia", "", "Włącza kursor przesunięcia\nWłącz kursor przesunięcia",
     ":/icons/offset.svg"},
    {ID_MEASUREMENTS, "Pomiary", "",
     "Pokazuje pomiary automatyczne: częstotliwość, poziomy, wypełnienie, zbocza, THD\nPomiary",
     ":/icons/measure.svg"},
    {ID_GENERATOR, "Generator", "", "Włacza Matematyczny generator sygnałów\nMatematyczny generator sygnałów",
     nullptr},
    {ID_WINDOW_CASCADE, "&Kaskadowo", "", "Arrange windows so they overlap\nCascade Windows", nullptr},
    {ID_WINDOW_TILE_HORZ, "&Sąsiadująco", "", "Arrange windows as non-overlapping tiles\nTile Windows", nullptr},
    {ID_APP_ABOUT, "&O programie...", "", "O programie...\nO programie...", ":/icons/about.svg"},
    {ID_PLOT1_TOGGLE, "Włącz wykres 1", "", "Włącza wykres 1\nWłącz wykres 1", ":/icons/plot1.svg"},
    {ID_PLOT2_TOGGLE, "Włącz wykres 2", "", "Włącza wykres 2\nWłącz wykres 2", ":/icons/plot2.svg"},
    // Keys only: paste, cut and undo have no handler and stay disabled.
    {ID_EDIT_PASTE, "", "Ctrl+V|Shift+Ins", "", nullptr},
    {ID_EDIT_CUT, "", "Ctrl+X|Shift+Del", "", nullptr},
    {ID_EDIT_UNDO, "", "Ctrl+Z|Alt+Backspace", "", nullptr},
    {ID_NEXT_PANE, "", "F6", "", nullptr},
    {ID_PREV_PANE, "", "Shift+F6", "", nullptr},
};

using K = KivMenuKind;

const KivMenuItem kMenuNoDocument[] = {
    {K::Popup, 0, "&Plik"},
    {K::Command, ID_FILE_NEW},
    {K::Command, ID_FILE_OPEN},
    {K::Separator},
    {K::Command, ID_FILE_PRINT_SETUP, "&Ustawienia drukarki..."},
    {K::Separator},
    {K::RecentFiles},
    {K::Separator},
    {K::Command, ID_APP_EXIT},
    {K::EndPopup},
    {K::Popup, 0, "&Widok"},
    {K::Command, ID_VIEW_TOOLBAR, "&Toolbar"},
    {K::Command, ID_VIEW_STATUS_BAR, "&Status Bar"},
    {K::EndPopup},
    {K::Popup, 0, "&Pomoc"},
    {K::Command, ID_APP_ABOUT},
    {K::EndPopup},
};

const KivMenuItem kMenuDocument[] = {
    {K::Popup, 0, "&Plik"},
    {K::Command, ID_FILE_NEW},
    {K::Command, ID_FILE_OPEN},
    {K::Command, ID_FETCH},
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
    {K::Popup, 0, "Ustawienia"},
    {K::Popup, 0, "Wykres 1"},
    {K::Command, ID_PLOT1_DATA},
    {K::Command, ID_PLOT1_SCALE},
    {K::EndPopup},
    {K::Popup, 0, "Wykres 2"},
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
    {K::Popup, 0, "&Widok"},
    {K::Command, ID_VIEW_TOOLBAR},
    {K::Command, ID_VIEW_STATUS_BAR},
    {K::Separator},
    {K::Command, ID_CURSOR},
    {K::Command, ID_WHITE_BACKGROUND},
    {K::Command, ID_OFFSET_CURSOR},
    {K::Command, ID_MEASUREMENTS},
    {K::EndPopup},
    {K::Command, ID_GENERATOR},
    {K::Popup, 0, "&Okno"},
    {K::Command, ID_WINDOW_CASCADE},
    {K::Command, ID_WINDOW_TILE_HORZ},
    {K::EndPopup},
    {K::Popup, 0, "P&omoc"},
    {K::Command, ID_APP_ABOUT},
    {K::EndPopup},
};

const int kToolbar[] = {
    ID_FILE_NEW,      0, ID_FETCH,         ID_FILE_OPEN,    ID_FILE_SAVE,    0, ID_EDIT_COPY,        0,
    ID_FILE_PRINT,    0, ID_MODE_ORIGINAL, 0,               ID_MEAN_RMS,     ID_MEASUREMENTS, 0, ID_MODE_DERIVATIVE,  ID_MODE_INTEGRAL,
    ID_MODE_FOURIER,  0, ID_MODE_XY,       ID_MODE_SUM,     ID_MODE_PRODUCT, 0, ID_PLOT1_TOGGLE,     ID_PLOT2_TOGGLE,
    0,                ID_CURSOR,           ID_OFFSET_CURSOR, ID_WHITE_BACKGROUND, 0, ID_APP_ABOUT,
};

}  // namespace

// The mode commands come from the mode table; their toolbar pictures carry the modes' names.
std::span<const KivCommandRow> KivCommands() {
    static const std::vector<KivCommandRow> rows = [] {
        static std::string icons[kModeCount];
        std::vector<KivCommandRow> all(std::begin(kRows), std::end(kRows));
        for (const KivModeInfo& m : KivModes()) {
            icons[m.index] = std::string(":/icons/") + m.name + ".svg";
            all.push_back({m.commandId, m.menuText, "", m.prompt, icons[m.index].c_str()});
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
