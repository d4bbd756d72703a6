<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="pl">
<context>
    <name>Kiv</name>
    <message>
        <source>Błąd transmisji</source>
        <translation>Transmission error</translation>
    </message>
    <message>
        <source>Uwaga</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Nie można zainicjować portu COM !</source>
        <translation>Cannot initialise the COM port!</translation>
    </message>
    <message>
        <source>Inny błąd !</source>
        <translation>Unexpected error!</translation>
    </message>
    <message>
        <source>Wczytywanie danych</source>
        <translation>Reading data</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Postęp</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Źródło danych - oscyloskop</source>
        <translation>Data source - oscilloscope</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Wykres 1  z kanału</source>
        <translation>Plot 1 from channel</translation>
    </message>
    <message>
        <source>Wykres 2  z kanału</source>
        <translation>Plot 2 from channel</translation>
    </message>
    <message>
        <source>Parametry transmisji</source>
        <translation>Transmission settings</translation>
    </message>
    <message>
        <source>Odśwież</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>&amp;Urządzenie</source>
        <translation>&amp;Device</translation>
    </message>
    <message>
        <source>Sprawdź połączenie</source>
        <translation>Test connection</translation>
    </message>
    <message>
        <source>Sprawdzanie...</source>
        <translation>Testing...</translation>
    </message>
    <message>
        <source>Wartość fazy poczatkowej musi być mniejsza od czasu sygnału</source>
        <translation>The start phase must be shorter than the signal duration</translation>
    </message>
    <message>
        <source>Uwaga !</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Błąd przy wyliczaniu

</source>
        <translation>Calculation failed

</translation>
    </message>
    <message>
        <source>Maksimum</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>Międzyszczytowa</source>
        <translation>Peak-to-peak</translation>
    </message>
    <message>
        <source>Średnia</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>Skuteczna (RMS)</source>
        <translation>RMS</translation>
    </message>
    <message>
        <source>RMS składowej zmiennej</source>
        <translation>AC RMS</translation>
    </message>
    <message>
        <source>Okres</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>Częstotliwość</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Wypełnienie</source>
        <translation>Duty cycle</translation>
    </message>
    <message>
        <source>Czas narastania</source>
        <translation>Rise time</translation>
    </message>
    <message>
        <source>Czas opadania</source>
        <translation>Fall time</translation>
    </message>
    <message>
        <source>Częstotliwość podstawowa</source>
        <translation>Fundamental frequency</translation>
    </message>
    <message>
        <source>Składowa stała</source>
        <translation>DC component</translation>
    </message>
    <message>
        <source>Amplituda 1. harmonicznej</source>
        <translation>1st harmonic amplitude</translation>
    </message>
    <message>
        <source>Suma</source>
        <translation>Sum</translation>
    </message>
    <message>
        <source>Iloczyn</source>
        <translation>Product</translation>
    </message>
    <message>
        <source>Wykres oryginalny</source>
        <translation>Original waveform</translation>
    </message>
    <message>
        <source>Wyświetla oryginalny wykres
Wykres oryginalny</source>
        <translation>Shows the waveform as fetched
Original waveform</translation>
    </message>
    <message>
        <source>Różniczka</source>
        <translation>Derivative</translation>
    </message>
    <message>
        <source>Wyświetla różniczkę
Różniczka</source>
        <translation>Shows the derivative
Derivative</translation>
    </message>
    <message>
        <source>Całka</source>
        <translation>Integral</translation>
    </message>
    <message>
        <source>Wyświetla całkę
Całka</source>
        <translation>Shows the integral
Integral</translation>
    </message>
    <message>
        <source>Tryb XY</source>
        <translation>XY mode</translation>
    </message>
    <message>
        <source>Wyśletla wykresy w trybie XY
Tryb XY</source>
        <translation>Plots one channel against the other
XY mode</translation>
    </message>
    <message>
        <source>Suma wykresów</source>
        <translation>Sum of plots</translation>
    </message>
    <message>
        <source>Wyswietla sumę wykresów
Suma wykresów</source>
        <translation>Shows the sum of both plots
Sum of plots</translation>
    </message>
    <message>
        <source>Iloczyn  wykresów</source>
        <translation>Product of plots</translation>
    </message>
    <message>
        <source>Wyświetla iloczyn wykresów
Iloczyn wykresów</source>
        <translation>Shows the product of both plots
Product of plots</translation>
    </message>
    <message>
        <source>Analiza Fouriera</source>
        <translation>Fourier analysis</translation>
    </message>
    <message>
        <source>Wyświetla widmo częstotliwości
Analiza Fouriera</source>
        <translation>Shows the frequency spectrum
Fourier analysis</translation>
    </message>
    <message>
        <source>oblicznie DFT </source>
        <translation>Computing DFT </translation>
    </message>
    <message>
        <source>Współrzędne kursorów</source>
        <translation>Cursor readings</translation>
    </message>
    <message>
        <source>Wykres pierwszy</source>
        <translation>First plot</translation>
    </message>
    <message>
        <source>oś x</source>
        <translation>x axis</translation>
    </message>
    <message>
        <source>numer harmonicznej</source>
        <translation>harmonic number</translation>
    </message>
    <message>
        <source>częstotliowść harmonicznej</source>
        <translation>harmonic frequency</translation>
    </message>
    <message>
        <source>oś y</source>
        <translation>y axis</translation>
    </message>
    <message>
        <source>wartość amplitudy</source>
        <translation>amplitude</translation>
    </message>
    <message>
        <source>wartość fazy </source>
        <translation>phase </translation>
    </message>
    <message>
        <source>współczynnik a&lt;sub&gt;o&lt;/sub&gt;</source>
        <translation>coefficient a&lt;sub&gt;0&lt;/sub&gt;</translation>
    </message>
    <message>
        <source>współczynnik a&lt;sub&gt;n&lt;/sub&gt;</source>
        <translation>coefficient a&lt;sub&gt;n&lt;/sub&gt;</translation>
    </message>
    <message>
        <source>współczynnik b&lt;sub&gt;n&lt;/sub&gt;</source>
        <translation>coefficient b&lt;sub&gt;n&lt;/sub&gt;</translation>
    </message>
    <message>
        <source>Częstotliwość pierwszej harmonicznej jest odwrością czasu zaznaczonego kursorami.</source>
        <translation>The fundamental frequency is the inverse of the time between the cursors.</translation>
    </message>
    <message>
        <source>Generator sygnałów</source>
        <translation>Signal generator</translation>
    </message>
    <message>
        <source>Parametry sygnału</source>
        <translation>Signal parameters</translation>
    </message>
    <message>
        <source>Prześlij do:</source>
        <translation>Send to:</translation>
    </message>
    <message>
        <source>Wartość średnia i skuteczna przebiegów</source>
        <translation>Mean and RMS of the waveforms</translation>
    </message>
    <message>
        <source>Wartość średnia</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>Wartość skuteczna</source>
        <translation>RMS</translation>
    </message>
    <message>
        <source>Pomiary</source>
        <translation>Measurements</translation>
    </message>
    <message>
        <source>Brak pomiarów w tym trybie</source>
        <translation>No measurements in this mode</translation>
    </message>
    <message>
        <source>O programie...</source>
        <translation>About Kiv...</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>Pliki Kiv (*.kiv)</source>
        <translation>Kiv files (*.kiv)</translation>
    </message>
    <message>
        <source>Otwórz</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Zapisz jako</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>Wszystkie pliki (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Ustawienia drukarki</source>
        <translation>Printer setup</translation>
    </message>
    <message>
        <source>Gotowy</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>Pasek narzędzi</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>&amp;Nowy	Ctrl+N</source>
        <translation>&amp;New	Ctrl+N</translation>
    </message>
    <message>
        <source>Otwiera nowy dokument
Nowy</source>
        <translation>Creates a new document
New</translation>
    </message>
    <message>
        <source>&amp;Otwórz...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>Otwiera z dysku
Otwórz</source>
        <translation>Opens a document from disk
Open</translation>
    </message>
    <message>
        <source>O&amp;twórz wykres	Ctrl+W</source>
        <translation>&amp;Fetch waveform	Ctrl+W</translation>
    </message>
    <message>
        <source>Pobiera wykres
Pobierz wykres</source>
        <translation>Fetches the waveforms from the oscilloscope
Fetch waveform</translation>
    </message>
    <message>
        <source>&amp;Zamknij</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Close the active document
Close</source>
        <translation>Close the active document
Close</translation>
    </message>
    <message>
        <source>Z&amp;apisz	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>Zapisuje na dysk
Zapisz</source>
        <translation>Saves the document to disk
Save</translation>
    </message>
    <message>
        <source>Zapisz jako...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <translation>Save the active document with a new name
Save As</translation>
    </message>
    <message>
        <source>&amp;Kopiuj do schowka	Ctrl+C</source>
        <translation>&amp;Copy to clipboard	Ctrl+C</translation>
    </message>
    <message>
        <source>Kopiuje do schowka
Kopiuj do schowka</source>
        <translation>Copies the plot to the clipboard
Copy to clipboard</translation>
    </message>
    <message>
        <source>Importuj	Ctrl+I</source>
        <translation>Import	Ctrl+I</translation>
    </message>
    <message>
        <source>Importuje z różnych formatów plików
Importuj</source>
        <translation>Imports a waveform from another file format
Import</translation>
    </message>
    <message>
        <source>Eksportuj	Ctrl+E</source>
        <translation>Export	Ctrl+E</translation>
    </message>
    <message>
        <source>Eksportuje do rożnych formatów plików
Eksportuj</source>
        <translation>Exports to another file format
Export</translation>
    </message>
    <message>
        <source>&amp;Drukuj...	Ctrl+P</source>
        <translation>&amp;Print...	Ctrl+P</translation>
    </message>
    <message>
        <source>Włącza drukowanie
Drukuj</source>
        <translation>Prints the plot
Print</translation>
    </message>
    <message>
        <source>Podgląd wydruku</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>Display full pages
Print Preview</source>
        <translation>Display full pages
Print Preview</translation>
    </message>
    <message>
        <source>Ustawienia drukarki...</source>
        <translation>Print Setup...</translation>
    </message>
    <message>
        <source>Change the printer and printing options
Print Setup</source>
        <translation>Change the printer and printing options
Print Setup</translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation>Open this document</translation>
    </message>
    <message>
        <source>&amp;Wyjście</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents
Exit</source>
        <translation>Quit the application; prompts to save documents
Exit</translation>
    </message>
    <message>
        <source>Ustawienia danych</source>
        <translation>Data settings</translation>
    </message>
    <message>
        <source>Ustawienia skali</source>
        <translation>Scale settings</translation>
    </message>
    <message>
        <source>Ustawienia skali osi X</source>
        <translation>X axis scale settings</translation>
    </message>
    <message>
        <source>Wartość średnia i skuteczna</source>
        <translation>Mean and RMS</translation>
    </message>
    <message>
        <source>Wyświetla wartość średnią i skuteczną
Wartość średnia i skuteczna</source>
        <translation>Shows the mean and RMS values
Mean and RMS</translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle ToolBar</source>
        <translation>Show or hide the toolbar
Toggle ToolBar</translation>
    </message>
    <message>
        <source>Pasek statusu</source>
        <translation>Status bar</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <translation>Show or hide the status bar
Toggle StatusBar</translation>
    </message>
    <message>
        <source>Kursor</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>Włącza kursor
Włącz kursor</source>
        <translation>Turns the cursors on
Cursors</translation>
    </message>
    <message>
        <source>Białe tło</source>
        <translation>White background</translation>
    </message>
    <message>
        <source>Włącza białe tło
Włącz białe tło</source>
        <translation>Turns the white background on
White background</translation>
    </message>
    <message>
        <source>Kursor przesunięcia</source>
        <translation>Offset cursor</translation>
    </message>
    <message>
        <source>Włącza kursor przesunięcia
Włącz kursor przesunięcia</source>
        <translation>Turns the offset cursor on
Offset cursor</translation>
    </message>
    <message>
        <source>Pokazuje pomiary automatyczne: częstotliwość, poziomy, wypełnienie, zbocza, THD
Pomiary</source>
        <translation>Shows automatic measurements: frequency, levels, duty cycle, edges, THD
Measurements</translation>
    </message>
    <message>
        <source>Generator</source>
        <translation>Generator</translation>
    </message>
    <message>
        <source>Włacza Matematyczny generator sygnałów
Matematyczny generator sygnałów</source>
        <translation>Opens the mathematical signal generator
Signal generator</translation>
    </message>
    <message>
        <source>&amp;Kaskadowo</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>Arrange windows so they overlap
Cascade Windows</source>
        <translation>Arrange windows so they overlap
Cascade Windows</translation>
    </message>
    <message>
        <source>&amp;Sąsiadująco</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>Arrange windows as non-overlapping tiles
Tile Windows</source>
        <translation>Arrange windows as non-overlapping tiles
Tile Windows</translation>
    </message>
    <message>
        <source>&amp;O programie...</source>
        <translation>&amp;About Kiv...</translation>
    </message>
    <message>
        <source>O programie...
O programie...</source>
        <translation>About Kiv
About Kiv</translation>
    </message>
    <message>
        <source>Włącz wykres 1</source>
        <translation>Show plot 1</translation>
    </message>
    <message>
        <source>Włącza wykres 1
Włącz wykres 1</source>
        <translation>Shows or hides plot 1
Show plot 1</translation>
    </message>
    <message>
        <source>Włącz wykres 2</source>
        <translation>Show plot 2</translation>
    </message>
    <message>
        <source>Włącza wykres 2
Włącz wykres 2</source>
        <translation>Shows or hides plot 2
Show plot 2</translation>
    </message>
    <message>
        <source>&amp;Plik</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Ustawienia drukarki...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>&amp;Widok</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>&amp;Pomoc</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Wykres 1</source>
        <translation>Plot 1</translation>
    </message>
    <message>
        <source>Wykres 2</source>
        <translation>Plot 2</translation>
    </message>
    <message>
        <source>&amp;Okno</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>P&amp;omoc</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Nieprawidłowy format pliku</source>
        <translation>Invalid file format</translation>
    </message>
    <message>
        <source>Plik o tej nazwie nie może być zapisany. Sprawdź czy plik jest już otwarty!</source>
        <translation>A file of this name cannot be written. Check whether it is open in another program!</translation>
    </message>
    <message>
        <source>UWAGA !</source>
        <translation>WARNING!</translation>
    </message>
    <message>
        <source>Pliki CSV Excel (*.csv)</source>
        <translation>Excel CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Pliki CSV Tektronix 460A (*.CSV)</source>
        <translation>Tektronix 460A CSV files (*.CSV)</translation>
    </message>
    <message>
        <source>Pliki PCX (*.pcx)</source>
        <translation>PCX files (*.pcx)</translation>
    </message>
    <message>
        <source>Sesja sigrok (*.sr)</source>
        <translation>sigrok session (*.sr)</translation>
    </message>
    <message>
        <source>Pliki CSV Tektronix 460A (*.CSV *.csv)</source>
        <translation>Tektronix 460A CSV files (*.CSV *.csv)</translation>
    </message>
    <message>
        <source>Pliki DSO (*.DSO *.dso)</source>
        <translation>DSO files (*.DSO *.dso)</translation>
    </message>
    <message>
        <source>Nie można otworzyć pliku: plik jest uszkodzony lub nie jest dokumentem Kiv.</source>
        <translation>Cannot open the file: it is damaged or not a Kiv document.</translation>
    </message>
    <message>
        <source>Nie można odczytać pliku.</source>
        <translation>Cannot read the file.</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku. Sprawdź, czy folder istnieje i czy masz prawo zapisu.</source>
        <translation>Cannot save the file. Check that the folder exists and that you may write to it.</translation>
    </message>
    <message>
        <source>&amp;Tak</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Nie</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Wybierz wykres</source>
        <translation>Choose plot</translation>
    </message>
    <message>
        <source>Wykres</source>
        <translation>Plot</translation>
    </message>
    <message>
        <source>Właściwości wykresu 1</source>
        <translation>Plot 1 properties</translation>
    </message>
    <message>
        <source>Właściwości wykresu 2</source>
        <translation>Plot 2 properties</translation>
    </message>
    <message>
        <source>Kopiuj</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source> - przesunięcie wzdględem zera</source>
        <translation> - offset from zero</translation>
    </message>
    <message>
        <source>przesunięcie wykresu</source>
        <translation>plot offset</translation>
    </message>
    <message>
        <source>Włączony</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>Mnożnik</source>
        <translation>Multiplier</translation>
    </message>
    <message>
        <source>Odwróć</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>Przesunięcie</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Kolor</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Zmień</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>Skalowanie</source>
        <translation>Scaling</translation>
    </message>
    <message>
        <source>Automatyczne</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>Ręczne</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Do</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Od</source>
        <translation>From</translation>
    </message>
    <message>
        <source>Obraz PNG (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Grafika SVG (*.svg)</source>
        <translation>SVG graphics (*.svg)</translation>
    </message>
    <message>
        <source>Dokument PDF (*.pdf)</source>
        <translation>PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>Kursor początkowy</source>
        <translation>Start cursor</translation>
    </message>
    <message>
        <source>Kursor końcowy</source>
        <translation>End cursor</translation>
    </message>
    <message>
        <source>Różnica</source>
        <translation>Difference</translation>
    </message>
</context>
<context>
    <name>kivtool</name>
    <message>
        <source>nieznany tryb %1 (tryby: %2)</source>
        <translation>unknown mode %1 (modes: %2)</translation>
    </message>
    <message>
        <source>nieznana opcja %1 (kivtool %2 --help)</source>
        <translation>unknown option %1 (kivtool %2 --help)</translation>
    </message>
    <message>
        <source>opcja --%1 wymaga wartości %2</source>
        <translation>option --%1 needs a value %2</translation>
    </message>
    <message>
        <source>opcja --%1 nie przyjmuje wartości</source>
        <translation>option --%1 takes no value</translation>
    </message>
    <message>
        <source>nieznane polecenie %1 (kivtool --help je wymienia)</source>
        <translation>unknown command %1 (kivtool --help lists them)</translation>
    </message>
    <message>
        <source>oczekiwano: %1 (kivtool %2 --help)</source>
        <translation>expected: %1 (kivtool %2 --help)</translation>
    </message>
</context>
</TS>
