// kivtool: the Kiv core from the command line, for batch work and scripted checks.
#include <string>
#include <vector>

#include "KivTool.h"
#include "platform/ui/KivLanguage.h"
#include "view/ui/PictureForms.h"

namespace {

constexpr char kModeHelp[] =
    "tryb wyświetlania zamiast zapisanego w dokumencie: original, "
    "derivative, integral, xy, sum, product lub fourier";
constexpr char kCursorsHelp[] =
    "pozycje kursorów 0..4000 zamiast zapisanych w dokumencie; "
    "wyznaczają zakres analizy Fouriera, średniej i RMS";
constexpr char kDeviceHelp[] =
    "urządzenie portu szeregowego (np. /dev/ttyUSB0 albo nazwa z /dev/serial/by-id) zamiast tego, "
    "które oznacza numer COM; wyklucza --port";
constexpr char kIntoHelp[] =
    "zaczyna od kopii tego dokumentu (pozostałe wykresy, ustawienia "
    "i widok zostają) zamiast od pustego; DOKUMENT.kiv się nie zmienia";

}  // namespace

const std::vector<KivToolCommand>& KivToolCommands() {
    static const std::vector<KivToolCommand> commands = {
        {"info", "DOKUMENT.kiv", 1, 1, "opis dokumentu w JSON",
         "Wypisuje opis dokumentu w JSON: tryb, kursory, flagi widoku, maski wykresów "
         "obecnych (present) i włączonych (enabled) oraz dla każdego obecnego wykresu "
         "kolor, skale czasu i amplitudy (wykładnik potęgi 1000, jednostka, krok), "
         "odwrócenie, przesunięcie i mnożnik. Liczba, która nie jest skończona, jest "
         "zapisana jako null.",
         {},
         KivToolInfo},
        {"codes", "DOKUMENT.kiv", 1, 1, "próbki obu wykresów, po jednej w wierszu",
         "Wypisuje próbki, po jednej w wierszu: numer, wykres 1 i wykres 2, oddzielone "
         "tabulatorem (kody 0..200, 100 to linia zera).",
         {{"what", "CO",
           "które próbki: raw (zapisane w dokumencie), shown (po ustawieniach "
           "wykresów, na wspólnej podstawie czasu), calc (rekord obliczony przez "
           "tryb), disp (wyświetlane: okno powiększenia na 4000 punktach; "
           "domyślnie) albo harm (50 słupków harmonicznych trybu fourier)"},
          {"mode", "TRYB", kModeHelp},
          {"cursors", "K1,K2", kCursorsHelp}},
         KivToolCodes},
        {"labels", "DOKUMENT.kiv", 1, 1, "etykiety siatki",
         "Wypisuje etykiety siatki tak, jak widok je rysuje: cztery wiersze (oś pozioma, "
         "oś Y1 dwa razy, oś Y2), etykiety jednej osi oddzielone znakiem |.",
         {{"mode", "TRYB", kModeHelp}},
         KivToolLabels},
        {"render", "DOKUMENT.kiv OBRAZ.png", 2, 2, "obraz wykresu jako PNG",
         "Rysuje wykres tak, jak okno dokumentu, i zapisuje go jako PNG.",
         {{"size", "SZERxWYS",
           "rozmiar obrazu w pikselach (domyślnie 800x600; najmniej 400x200, "
           "każdy bok najwyżej 10000)"},
          {"white", nullptr, "białe tło, także gdy dokument zapisał czarne"},
          {"mode", "TRYB", kModeHelp},
          {"cursors", "K1,K2", kCursorsHelp}},
         KivToolRender},
        {"export", "DOKUMENT.kiv WYJŚCIE", 2, 2, "eksport jak polecenie Eksportuj",
         "Zapisuje plik eksportu jak polecenie programu: spreadsheet (.csv, arkusz, "
         "w trybie fourier tabela harmonicznych), tek (.CSV, Tektronix 460A), pcx "
         "(.pcx, obraz 800x600), harmonics (tabela harmonicznych trybu fourier), sr (sesja "
         "sigrok dla PulseView i sigrok-cli: kanały CH1 i CH2 w jednostkach fizycznych; w trybie "
         "fourier przebiegi trybu original), png (obraz w pełnym kolorze), svg (grafika wektorowa) "
         "lub pdf (strona A4 w poziomie jak wydruk). Bez --format formę wybiera rozszerzenie "
         "nazwy (wielkość liter ma znaczenie).",
         {{"format", "FORMA", "forma pliku: spreadsheet, tek, pcx, harmonics, sr, png, svg lub pdf"},
          {"mode", "TRYB", kModeHelp},
          {"cursors", "K1,K2", kCursorsHelp},
          {"size", "SZERxWYS",
           "rozmiar obrazu png i svg w pikselach (domyślnie 800x600; najmniej 400x200, każdy bok "
           "najwyżej 10000)"},
          {"white", nullptr, "białe tło obrazu png i svg, także gdy dokument zapisał czarne"}},
         KivToolExport},
        {"generate", "WYJŚCIE.kiv", 1, 1, "sygnał testowy jak Generator sygnałów",
         "Tworzy sygnał testowy jak okno \"Generator sygnałów\" (te same zakresy "
         "i sprawdzenia) i zapisuje dokument.",
         {{"kind", "RODZAJ", "const (stała), sine (sinus) lub square (prostokąt); wymagana"},
          {"amplitude", "A", "amplituda (wartość stałej) w woltach, -1e6..1e6; domyślnie 1"},
          {"duration", "D", "czas całego zapisu w sekundach, 1e-11..10000; domyślnie 1"},
          {"phase", "F", "faza początkowa w sekundach, 0..9999.9999, mniejsza od D; domyślnie 0"},
          {"period", "T", "okres w sekundach, 1e-10..10000; domyślnie 1"},
          {"target", "W", "wykres docelowy: 1, 2 lub 3 (oba); domyślnie 3"},
          {"into", "DOKUMENT.kiv", kIntoHelp}},
         KivToolGenerate},
        {"import", "WEJŚCIE WYJŚCIE.kiv", 2, 2, "import pliku DSO, Tektronix CSV lub sesji sigrok",
         "Wczytuje plik DSO (.DSO, .dso), Tektronix 460A CSV (.CSV, .csv) lub sesję sigrok (.sr) "
         "do jednego wykresu, jak polecenie Importuj, i zapisuje dokument. Z sesji sigrok: "
         "pierwszy kanał analogowy (albo --channel), 4000 próbek wybranych równo z całego zapisu.",
         {{"plot", "W", "wykres docelowy: 1 lub 2; wymagana"},
          {"channel", "NAZWA", "kanał analogowy sesji sigrok zamiast pierwszego"},
          {"into", "DOKUMENT.kiv", kIntoHelp}},
         KivToolImport},
        {"meanrms", "DOKUMENT.kiv", 1, 1, "średnia i RMS między kursorami",
         "Wypisuje wartości okna \"Wartość średnia i skuteczna przebiegów\": średnią, "
         "potem RMS (dla dwóch wykresów kolejno Y1 i Y2), po jednej w wierszu.",
         {{"mode", "TRYB", kModeHelp}, {"cursors", "K1,K2", kCursorsHelp}},
         KivToolMeanRms},
        {"measure", "DOKUMENT.kiv", 1, 1, "pomiary automatyczne jak panel Pomiary",
         "Wypisuje pomiary automatyczne krzywych, które pokazuje tryb, jak panel \"Pomiary\": "
         "maksimum, minimum, międzyszczytową, średnią, RMS, RMS składowej zmiennej, okres, "
         "częstotliwość, wypełnienie, czas narastania i opadania (10-90 %), a w trybie fourier "
         "częstotliwość podstawową, składową stałą, amplitudę 1. harmonicznej i THD; w trybie xy "
         "nic. Zakres: między kursorami, gdy dokument je pokazuje albo podano --cursors, inaczej "
         "cały zapis; w trybie fourier zakres widma. Bez --json tabela wyrównana spacjami, "
         "wartość nieokreślona to —.",
         {{"mode", "TRYB", kModeHelp},
          {"cursors", "K1,K2", kCursorsHelp},
          {"json", nullptr,
           "wynik w JSON: mode, span [początek, koniec), plot1 i plot2 (obiekt pomiarów w sekundach, "
           "hercach, jednostkach osi i procentach albo null), amplitude_units; wartość nieokreślona "
           "to null"}},
         KivToolMeasure},
        {"fetch", "WYJŚCIE.kiv", 1, 1, "pobranie przebiegów z oscyloskopu",
         "Pobiera przebiegi z oscyloskopu jak polecenie \"Otwórz wykres\" i zapisuje "
         "dokument. Ustawienia (model, prędkość, port, wykresy i kanały) są brane "
         "z pliku Kiv.cfg w bieżącym katalogu, a bez niego domyślne: HAMEG 1507 na "
         "COM2, 9600 bodów, wykres 1 z kanału 1, wykres 2 z kanału 2. Opcje je "
         "zmieniają tylko na to pobranie. Port COMn to urządzenie ze zmiennej "
         "środowiska KIV_COMn, bez niej urządzenie wybrane dla COMn w programie, a bez "
         "wyboru /dev/ttyS<n-1>. Na terminalu pasek postępu "
         "idzie na stderr; komunikaty przyrządu też.",
         {{"model", "MODEL", "instrument zamiast zapisanego w Kiv.cfg: " + KivToolModelKeys()},
          {"port", "N", "port COMn, 1..255"},
          {"device", "ŚCIEŻKA", kDeviceHelp},
          {"baud", "PRĘDKOŚĆ", "prędkość, jedna z oferowanych przez model"},
          {"plot1", "KANAŁ", "kanał wykresu 1 albo off (wykres 1 nie jest pobierany)"},
          {"plot2", "KANAŁ", "kanał wykresu 2 albo off"},
          {"into", "DOKUMENT.kiv", kIntoHelp},
          {"save-settings", nullptr, "zapisuje ustawienia tego pobrania w Kiv.cfg"}},
         KivToolFetch},
        {"probe", "", 0, 0, "sprawdzenie połączenia z oscyloskopem",
         "Sprawdza połączenie jak przycisk \"Sprawdź połączenie\" w oknie \"Parametry transmisji\": "
         "otwiera port z ustawieniami linii modelu, wysyła tylko pierwsze zapytanie modelu, sprawdza "
         "odpowiedź tak jak przy pobieraniu, oddaje przyrząd tak jak po pobraniu i wypisuje w jednym "
         "wierszu, co zaszło: przyrząd odpowiedział jako wybrany model, odpowiedział czymś innym "
         "(pierwsze bajty), milczał albo portu nie dało się otworzyć (i dlaczego). Trwa nie dłużej niż "
         "czas oczekiwania na tę odpowiedź. Ustawienia jak w fetch (Kiv.cfg z bieżącego katalogu, "
         "zmienione opcjami); niczego nie zapisuje. Status 0 tylko wtedy, gdy odpowiedział wybrany "
         "model.",
         {{"model", "MODEL", "instrument zamiast zapisanego w Kiv.cfg: " + KivToolModelKeys()},
          {"port", "N", "port COMn, 1..255"},
          {"device", "ŚCIEŻKA", kDeviceHelp},
          {"baud", "PRĘDKOŚĆ", "prędkość, jedna z oferowanych przez model"}},
         KivToolProbe},
        {"ports", "", 0, 0, "porty szeregowe komputera",
         "Wypisuje porty szeregowe komputera tak, jak lista \"Urządzenie\" w oknie \"Parametry "
         "transmisji\": /dev/ttyUSB*, /dev/ttyACM*, /dev/rfcomm* i /dev/ttyS* z układem UART. Jeden "
         "port w wierszu, pola oddzielone tabulatorem: ścieżka, stała nazwa w /dev/serial/by-id (- gdy jej "
         "nie ma), adapter (producent, produkt i numer seryjny adaptera USB; - gdy nic o nim nie wiadomo) "
         "i czy ten użytkownik może port "
         "otworzyć.",
         {{"json", nullptr,
           "lista w JSON: tablica obiektów z polami path, by_id, description, manufacturer, product, serial, "
           "usb i accessible (null, gdy pola nie ma)"}},
         KivToolPorts},
    };
    return commands;
}

int main(int argc, char** argv) {
    LoadKivLanguage();
    RegisterPictureForms();
    return KivToolMain(KivToolCommands(), std::vector<std::string>(argv, argv + argc));
}
