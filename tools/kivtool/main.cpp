// SPDX-License-Identifier: GPL-3.0-or-later
// kivtool: the Kiv core from the command line, for batch work and scripted checks.
#include <cstdio>
#include <string>
#include <vector>

#include "KivTool.h"
#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"

namespace {

constexpr char kModeHelp[] = KIV_TR_NOOP("kivtool",
    "tryb wyświetlania zamiast zapisanego w dokumencie: original, "
    "derivative, integral, xy, sum, product lub fourier");
constexpr char kCursorsHelp[] = KIV_TR_NOOP("kivtool",
    "pozycje kursorów 0..4000 zamiast zapisanych w dokumencie; "
    "wyznaczają zakres analizy Fouriera, średniej i RMS");
constexpr char kIntoHelp[] = KIV_TR_NOOP("kivtool",
    "zaczyna od kopii tego dokumentu (pozostałe wykresy, ustawienia "
    "i widok zostają) zamiast od pustego; DOKUMENT.kiv się nie zmienia");
// The words the synopses and option lines share.
constexpr char kDocument[] = KIV_TR_NOOP("kivtool", "DOKUMENT.kiv");
constexpr char kMode[] = KIV_TR_NOOP("kivtool", "TRYB");
constexpr char kCursors[] = KIV_TR_NOOP("kivtool", "K1,K2");
constexpr char kSize[] = KIV_TR_NOOP("kivtool", "SZERxWYS");
constexpr char kPlot[] = KIV_TR_NOOP("kivtool", "W");

// The options a command takes, the given ones after those in front.
std::vector<KivToolOption> Options(std::vector<KivToolOption> front, std::initializer_list<KivToolOption> more) {
    front.insert(front.end(), more);
    return front;
}

}  // namespace

const std::vector<KivToolCommand>& KivToolCommands() {
    static const std::vector<KivToolCommand> commands = {
        {"info", kDocument, 1, 1, KIV_TR_NOOP("kivtool", "opis dokumentu w JSON"),
         KIV_TR_NOOP("kivtool",
         "Wypisuje opis dokumentu w JSON: tryb, kursory, flagi widoku, maski wykresów "
         "obecnych (present) i włączonych (enabled) oraz dla każdego obecnego wykresu "
         "kolor, skale czasu i amplitudy (wykładnik potęgi 1000, jednostka, krok), "
         "odwrócenie, przesunięcie i mnożnik. Liczba, która nie jest skończona, jest "
         "zapisana jako null."),
         {},
         KivToolInfo},
        {"codes", kDocument, 1, 1, KIV_TR_NOOP("kivtool", "próbki obu wykresów, po jednej w wierszu"),
         KIV_TR_NOOP("kivtool",
         "Wypisuje próbki, po jednej w wierszu: numer, wykres 1 i wykres 2, oddzielone "
         "tabulatorem (kody 0..200, 100 to linia zera)."),
         {{"what", KIV_TR_NOOP("kivtool", "CO"), KIV_TR_NOOP("kivtool",
           "które próbki: raw (zapisane w dokumencie), shown (po ustawieniach "
           "wykresów, na wspólnej podstawie czasu), calc (rekord obliczony przez "
           "tryb), disp (wyświetlane: okno powiększenia na 4000 punktach; "
           "domyślnie) albo harm (50 słupków harmonicznych trybu fourier)")},
          {"mode", kMode, kModeHelp},
          {"cursors", kCursors, kCursorsHelp}},
         KivToolCodes},
        {"labels", kDocument, 1, 1, KIV_TR_NOOP("kivtool", "etykiety siatki"),
         KIV_TR_NOOP("kivtool",
         "Wypisuje etykiety siatki tak, jak widok je rysuje: cztery wiersze (oś pozioma, "
         "oś Y1 dwa razy, oś Y2), etykiety jednej osi oddzielone znakiem |."),
         {{"mode", kMode, kModeHelp}},
         KivToolLabels},
        {"render", KIV_TR_NOOP("kivtool", "DOKUMENT.kiv OBRAZ.png"), 2, 2,
         KIV_TR_NOOP("kivtool", "obraz wykresu jako PNG"),
         KIV_TR_NOOP("kivtool", "Rysuje wykres tak, jak okno dokumentu, i zapisuje go jako PNG."),
         {{"size", kSize, KIV_TR_NOOP("kivtool",
           "rozmiar obrazu w pikselach (domyślnie 800x600); mniejszy niż 400x200 jest zwiększany, "
           "bok ponad 10000 zmniejszany, z uwagą na stderr")},
          {"white", nullptr, KIV_TR_NOOP("kivtool", "białe tło, także gdy dokument zapisał czarne")},
          {"mode", kMode, kModeHelp},
          {"cursors", kCursors, kCursorsHelp}},
         KivToolRender},
        {"export", KIV_TR_NOOP("kivtool", "DOKUMENT.kiv WYJŚCIE"), 2, 2,
         KIV_TR_NOOP("kivtool", "eksport jak polecenie Eksportuj"),
         KIV_TR_NOOP("kivtool",
         "Zapisuje plik eksportu jak polecenie programu: spreadsheet (.csv, arkusz, "
         "w trybie fourier tabela harmonicznych), tek (.CSV, Tektronix 460A), pcx "
         "(.pcx, obraz 800x600), harmonics (tabela harmonicznych trybu fourier), sr (sesja "
         "sigrok dla PulseView i sigrok-cli: kanały CH1 i CH2 w jednostkach fizycznych; w trybie "
         "fourier przebiegi trybu original), png (obraz w pełnym kolorze), svg (grafika wektorowa) "
         "lub pdf (strona A4 w poziomie jak wydruk). Bez --format formę wybiera rozszerzenie "
         "nazwy (wielkość liter ma znaczenie)."),
         {{"format", KIV_TR_NOOP("kivtool", "FORMA"),
           KIV_TR_NOOP("kivtool", "forma pliku: spreadsheet, tek, pcx, harmonics, sr, png, svg lub pdf")},
          {"mode", kMode, kModeHelp},
          {"cursors", kCursors, kCursorsHelp},
          {"size", kSize, KIV_TR_NOOP("kivtool",
           "rozmiar obrazu png i svg w pikselach (domyślnie 800x600); mniejszy niż 400x200 jest "
           "zwiększany, bok ponad 10000 zmniejszany, z uwagą na stderr")},
          {"white", nullptr, KIV_TR_NOOP("kivtool", "białe tło obrazu png i svg, także gdy dokument zapisał czarne")}},
         KivToolExport},
        {"generate", KIV_TR_NOOP("kivtool", "WYJŚCIE.kiv"), 1, 1,
         KIV_TR_NOOP("kivtool", "sygnał testowy jak Generator sygnałów"),
         KIV_TR_NOOP("kivtool",
         "Tworzy sygnał testowy jak okno \"Generator sygnałów\" (te same zakresy "
         "i sprawdzenia) i zapisuje dokument."),
         {{"kind", KIV_TR_NOOP("kivtool", "RODZAJ"),
           KIV_TR_NOOP("kivtool", "const (stała), sine (sinus) lub square (prostokąt); wymagana")},
          {"amplitude", KIV_TR_NOOP("kivtool", "A"),
           KIV_TR_NOOP("kivtool", "amplituda (wartość stałej) w woltach, -1e6..1e6; domyślnie 1")},
          {"duration", KIV_TR_NOOP("kivtool", "D"),
           KIV_TR_NOOP("kivtool", "czas całego zapisu w sekundach, 1e-11..10000; domyślnie 1")},
          {"phase", KIV_TR_NOOP("kivtool", "F"),
           KIV_TR_NOOP("kivtool", "faza początkowa w sekundach, 0..9999.9999, mniejsza od D; domyślnie 0")},
          {"period", KIV_TR_NOOP("kivtool", "T"),
           KIV_TR_NOOP("kivtool", "okres w sekundach, 1e-10..10000; domyślnie 1")},
          {"target", kPlot, KIV_TR_NOOP("kivtool", "wykres docelowy: 1, 2 lub 3 (oba); domyślnie 3")},
          {"into", kDocument, kIntoHelp}},
         KivToolGenerate},
        {"import", KIV_TR_NOOP("kivtool", "WEJŚCIE WYJŚCIE.kiv"), 2, 2,
         KIV_TR_NOOP("kivtool", "import pliku DSO, Tektronix CSV lub sesji sigrok"),
         KIV_TR_NOOP("kivtool",
         "Wczytuje plik DSO (.DSO, .dso), Tektronix 460A CSV (.CSV, .csv) lub sesję sigrok (.sr) "
         "do jednego wykresu, jak polecenie Importuj, i zapisuje dokument. Z sesji sigrok: "
         "pierwszy kanał analogowy (albo --channel), 4000 próbek wybranych równo z całego zapisu."),
         {{"plot", kPlot, KIV_TR_NOOP("kivtool", "wykres docelowy: 1 lub 2; wymagana")},
          {"channel", KIV_TR_NOOP("kivtool", "NAZWA"),
           KIV_TR_NOOP("kivtool", "kanał analogowy sesji sigrok zamiast pierwszego")},
          {"into", kDocument, kIntoHelp}},
         KivToolImport},
        {"meanrms", kDocument, 1, 1, KIV_TR_NOOP("kivtool", "średnia i RMS między kursorami"),
         KIV_TR_NOOP("kivtool",
         "Wypisuje wartości okna \"Wartość średnia i skuteczna przebiegów\": średnią, "
         "potem RMS (dla dwóch wykresów kolejno Y1 i Y2), po jednej w wierszu."),
         {{"mode", kMode, kModeHelp}, {"cursors", kCursors, kCursorsHelp}},
         KivToolMeanRms},
        {"measure", KIV_TR_NOOP("kivtool", "DOKUMENT.kiv..."), 1, 1 << 20,
         KIV_TR_NOOP("kivtool", "pomiary automatyczne jak panel Pomiary"),
         KIV_TR_NOOP("kivtool",
         "Wypisuje pomiary automatyczne krzywych, które pokazuje tryb, jak panel \"Pomiary\": "
         "wszystkie albo te, które wymienia --only; w trybie fourier tylko pomiary widma, w trybie xy "
         "nic. Definicje podaje strona podręcznika kivtool(1). Zakres: między kursorami, gdy "
         "dokument je pokazuje albo podano --cursors, inaczej to, co pokazuje okno (powiększenie), "
         "a bez powiększenia cały zapis; w trybie fourier zakres widma. Każdy wykres jest mierzony "
         "na własnych próbkach. Bez --json tabela wyrównana spacjami, wartość nieokreślona to —. "
         "Z --stats każdy dokument to jeden zapis, a wynik to statystyki wszystkich."),
         {{"mode", kMode, kModeHelp},
          {"cursors", kCursors, kCursorsHelp},
          {"only", KIV_TR_NOOP("kivtool", "KLUCZE"), KIV_TR_NOOP("kivtool",
           "tylko te pomiary, klucze oddzielone przecinkami, np. period,rise,thd")},
          {"stats", nullptr, KIV_TR_NOOP("kivtool",
           "statystyki po wszystkich dokumentach (każdy to jeden zapis): bieżąca (ostatniego dokumentu), "
           "średnia, minimum, maksimum, odchylenie standardowe i liczba zapisów, w których pomiar był "
           "określony; w trybie ostatniego dokumentu, więc przy różnych trybach warto podać --mode")},
          {"json", nullptr, KIV_TR_NOOP("kivtool",
           "wynik w JSON: mode, span [początek, koniec), plot1 i plot2 (obiekt pomiarów w sekundach, "
           "hercach, jednostkach osi, procentach i stopniach albo null), between (opóźnienie i faza "
           "wykresu 2 względem 1 albo null), amplitude_units; wartość nieokreślona to null. Z --stats "
           "każdy pomiar to obiekt current, mean, min, max, sd, n, a records to liczba dokumentów")}},
         KivToolMeasure},
        {"fetch", KIV_TR_NOOP("kivtool", "WYJŚCIE.kiv"), 1, 1,
         KIV_TR_NOOP("kivtool", "pobranie przebiegów z oscyloskopu"),
         KIV_TR_NOOP("kivtool",
         "Pobiera przebiegi z oscyloskopu jak polecenie \"Otwórz wykres\" i zapisuje "
         "dokument. Ustawienia (model, prędkość, port, wykresy i kanały) są brane "
         "z pliku Kiv.cfg w bieżącym katalogu, a bez niego domyślne: HAMEG 1507 na "
         "COM2, 9600 bodów, wykres 1 z kanału 1, wykres 2 z kanału 2. Opcje je "
         "zmieniają tylko na to pobranie. Port COMn to urządzenie ze zmiennej "
         "środowiska KIV_COMn, bez niej urządzenie wybrane dla COMn w programie, a bez "
         "wyboru /dev/ttyS<n-1>. Na terminalu pasek postępu "
         "idzie na stderr. Niepowodzenie to jeden wiersz na stderr z tym, co powiedział przyrząd."),
         Options(KivToolLineOptions(),
                 {{"plot1", KIV_TR_NOOP("kivtool", "KANAŁ"),
                   KIV_TR_NOOP("kivtool", "kanał wykresu 1 albo off (wykres 1 nie jest pobierany)")},
                  {"plot2", KIV_TR_NOOP("kivtool", "KANAŁ"), KIV_TR_NOOP("kivtool", "kanał wykresu 2 albo off")},
                  {"into", kDocument, kIntoHelp},
                  {"save-settings", nullptr, KIV_TR_NOOP("kivtool", "zapisuje ustawienia tego pobrania w Kiv.cfg")},
                  {"repeat", KIV_TR_NOOP("kivtool", "N"), KIV_TR_NOOP("kivtool",
                   "N pobrań, każde do osobnego dokumentu: WYJŚCIE-0001.kiv, WYJŚCIE-0002.kiv i dalej "
                   "(więcej cyfr, gdy N > 9999); połączenie z przyrządem SCPI trwa przez wszystkie pobrania; "
                   "niepowodzenie kończy serię, zapisane dokumenty zostają")},
                  {"interval", KIV_TR_NOOP("kivtool", "MS"), KIV_TR_NOOP("kivtool",
                   "co najmniej MS milisekund od początku jednego pobrania do początku następnego "
                   "(domyślnie 0); tylko z --repeat")}}),
         KivToolFetch},
        {"probe", "", 0, 0, KIV_TR_NOOP("kivtool", "sprawdzenie połączenia z oscyloskopem"),
         KIV_TR_NOOP("kivtool",
         "Sprawdza połączenie jak przycisk \"Sprawdź połączenie\" w oknie \"Parametry transmisji\": "
         "otwiera port z ustawieniami linii modelu, wysyła tylko pierwsze zapytanie modelu, sprawdza "
         "odpowiedź tak jak przy pobieraniu, oddaje przyrząd tak jak po pobraniu i wypisuje w jednym "
         "wierszu, co zaszło: przyrząd odpowiedział jako wybrany model, odpowiedział czymś innym "
         "(pierwsze bajty), milczał albo portu nie dało się otworzyć (i dlaczego). Trwa nie dłużej niż "
         "czas oczekiwania na tę odpowiedź. Ustawienia jak w fetch (Kiv.cfg z bieżącego katalogu, "
         "zmienione opcjami); niczego nie zapisuje. Status 0 tylko wtedy, gdy odpowiedział wybrany "
         "model."),
         KivToolLineOptions(),
         KivToolProbe},
        {"screenshot", KIV_TR_NOOP("kivtool", "OBRAZ.png"), 1, 1,
         KIV_TR_NOOP("kivtool", "obraz ekranu oscyloskopu jako PNG"),
         KIV_TR_NOOP("kivtool",
         "Pobiera obraz ekranu oscyloskopu SCPI, który go wysyła (--model auto wybiera rodzinę według "
         "*IDN?), i zapisuje go jako PNG: PNG przyrządu bajt "
         "w bajt, inną formę (BMP) przekształconą do PNG. Istniejący plik jest zastępowany w całości "
         "albo wcale. Ustawienia jak w fetch (Kiv.cfg z bieżącego katalogu, zmienione opcjami)."),
         KivToolLineOptions(),
         KivToolScreenshot},
        {"ports", "", 0, 0, KIV_TR_NOOP("kivtool", "porty szeregowe i przyrządy USBTMC komputera"),
         KIV_TR_NOOP("kivtool",
         "Wypisuje porty szeregowe i przyrządy USBTMC komputera tak, jak lista \"Urządzenie\" w oknie "
         "\"Parametry transmisji\": /dev/ttyUSB*, /dev/ttyACM*, /dev/rfcomm*, /dev/ttyS* z układem UART "
         "i /dev/usbtmc*. Jedno urządzenie w wierszu, pola oddzielone tabulatorem: ścieżka, stała nazwa "
         "w /dev/serial/by-id (- gdy jej nie ma), urządzenie USB (producent, produkt, numer seryjny "
         "i identyfikator USB; - gdy nic o nim nie wiadomo) i czy ten użytkownik może je otworzyć. "
         "Gdy przyrządu USBTMC otworzyć nie może, stderr podaje regułę udev, która daje dostęp."),
         {{"json", nullptr, KIV_TR_NOOP("kivtool",
           "lista w JSON: tablica obiektów z polami path, by_id, kind (serial albo usbtmc), description, "
           "manufacturer, product, serial, usb, usb_id i accessible (null, gdy pola nie ma)")}},
         KivToolPorts},
        // For the shell's completion (completion/kivtool), not for users: not in --help.
        {"complete", KIV_TR_NOOP("kivtool", "CO [POLECENIE]"), 1, 2,
         KIV_TR_NOOP("kivtool", "słowa do uzupełniania w powłoce"),
         KIV_TR_NOOP("kivtool",
         "Wypisuje, po jednym w wierszu, słowa, które uzupełnia powłoka: commands (polecenia), options "
         "POLECENIE (opcje polecenia; po opcji z wartością tabulator i nazwa wartości), models (numery "
         "i klucze modeli, auto), channels (kanały i off), modes (tryby), formats (formy eksportu) albo "
         "devices (urządzenia z polecenia ports: ścieżki i stałe nazwy)."),
         {},
         KivToolComplete,
         true},
    };
    return commands;
}

int main(int argc, char** argv) {
    // Said in English: the user asked for it, and without the file no translation exists.
    if (!LoadKivLanguage() && KivWantsEnglish())
        std::fputs("kivtool: the English translation (kiv_en.qm) was not found; messages are in Polish\n", stderr);
    return KivToolMain(KivToolCommands(), std::vector<std::string>(argv, argv + argc));
}
