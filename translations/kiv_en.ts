<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="pl">
<context>
    <name>CFourierPanelDlg</name>
    <message>
        <source>Uwaga</source>
        <translation>Note</translation>
    </message>
</context>
<context>
    <name>CGeneratorDlg</name>
    <message>
        <source>Składowa stała</source>
        <translation>DC</translation>
    </message>
    <message>
        <source>Sygnał sinusoidalny</source>
        <translation>Sine wave</translation>
    </message>
    <message>
        <source>Sygnał prostokatny</source>
        <translation>Square wave</translation>
    </message>
</context>
<context>
    <name>CMeanRmsDlg</name>
    <message>
        <source>Uwaga</source>
        <translation>Note</translation>
    </message>
</context>
<context>
    <name>Kiv</name>
    <message>
        <source>Błąd transmisji</source>
        <translation>Communication error</translation>
    </message>
    <message>
        <source>Uwaga</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Nie można zainicjować portu COM !</source>
        <translation>Cannot initialize the COM port.</translation>
    </message>
    <message>
        <source>Inny błąd !</source>
        <translation>Unexpected error.</translation>
    </message>
    <message>
        <source>Wczytywanie danych</source>
        <translation>Fetching Waveforms</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Postęp</source>
        <translation>Progress:</translation>
    </message>
    <message>
        <source>Źródło danych - oscyloskop</source>
        <translation>Data Source: Oscilloscope</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>Connection Settings…</translation>
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
        <translation>Connection Settings</translation>
    </message>
    <message>
        <source>Odśwież</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>&amp;Urządzenie</source>
        <translation>&amp;Device:</translation>
    </message>
    <message>
        <source>Sprawdź połączenie</source>
        <translation>Test Connection</translation>
    </message>
    <message>
        <source>Sprawdzanie...</source>
        <translation>Testing…</translation>
    </message>
    <message>
        <source>Wartość fazy poczatkowej musi być mniejsza od czasu sygnału</source>
        <translation>The start phase must be less than the duration.</translation>
    </message>
    <message>
        <source>Uwaga !</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Błąd przy wyliczaniu

</source>
        <translation>The values cannot be calculated.

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
        <source>Wyświetla oryginalny wykres
Wykres oryginalny</source>
        <translation>Shows the original waveforms
Original Waveforms</translation>
    </message>
    <message>
        <source>Wyświetla różniczkę
Różniczka</source>
        <translation>Shows the derivative
Derivative</translation>
    </message>
    <message>
        <source>Wyświetla całkę
Całka</source>
        <translation>Shows the integral
Integral</translation>
    </message>
    <message>
        <source>Wyśletla wykresy w trybie XY
Tryb XY</source>
        <translation>Shows plot 1 against plot 2
XY Mode</translation>
    </message>
    <message>
        <source>Wyswietla sumę wykresów
Suma wykresów</source>
        <translation>Shows the sum of the two plots
Sum of Plots</translation>
    </message>
    <message>
        <source>Wyświetla iloczyn wykresów
Iloczyn wykresów</source>
        <translation>Shows the product of the two plots
Product of Plots</translation>
    </message>
    <message>
        <source>Wyświetla widmo częstotliwości
Analiza Fouriera</source>
        <translation>Shows the frequency spectrum
Fourier Analysis</translation>
    </message>
    <message>
        <source>oblicznie DFT </source>
        <translation>Computing the DFT</translation>
    </message>
    <message>
        <source>Współrzędne kursorów</source>
        <translation>Cursor Readings</translation>
    </message>
    <message>
        <source>Wykres pierwszy</source>
        <translation>Plot 1</translation>
    </message>
    <message>
        <source>oś x</source>
        <translation>X Axis</translation>
    </message>
    <message>
        <source>numer harmonicznej</source>
        <translation>Harmonic number:</translation>
    </message>
    <message>
        <source>częstotliowść harmonicznej</source>
        <translation>Harmonic frequency:</translation>
    </message>
    <message>
        <source>oś y</source>
        <translation>Y Axis</translation>
    </message>
    <message>
        <source>wartość amplitudy</source>
        <translation>Amplitude:</translation>
    </message>
    <message>
        <source>wartość fazy </source>
        <translation>Phase:</translation>
    </message>
    <message>
        <source>współczynnik a&lt;sub&gt;o&lt;/sub&gt;</source>
        <translation>Coefficient a&lt;sub&gt;0&lt;/sub&gt;:</translation>
    </message>
    <message>
        <source>współczynnik a&lt;sub&gt;n&lt;/sub&gt;</source>
        <translation>Coefficient a&lt;sub&gt;n&lt;/sub&gt;:</translation>
    </message>
    <message>
        <source>współczynnik b&lt;sub&gt;n&lt;/sub&gt;</source>
        <translation>Coefficient b&lt;sub&gt;n&lt;/sub&gt;:</translation>
    </message>
    <message>
        <source>Częstotliwość pierwszej harmonicznej jest odwrością czasu zaznaczonego kursorami.</source>
        <translation>The fundamental frequency is the inverse of the time between the cursors.</translation>
    </message>
    <message>
        <source>Generator sygnałów</source>
        <translation>Signal Generator</translation>
    </message>
    <message>
        <source>Parametry sygnału</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>Prześlij do:</source>
        <translation>Send To</translation>
    </message>
    <message>
        <source>Wartość średnia i skuteczna przebiegów</source>
        <translation>Mean and RMS</translation>
    </message>
    <message>
        <source>Wartość średnia</source>
        <translation>Rectified Mean</translation>
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
        <translation>About Kiv</translation>
    </message>
    <message>
        <source>Pliki Kiv (*.kiv)</source>
        <translation>Kiv documents (*.kiv)</translation>
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
        <translation>Print Setup</translation>
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
        <translation>&amp;Open…	Ctrl+O</translation>
    </message>
    <message>
        <source>Otwiera z dysku
Otwórz</source>
        <translation>Opens a saved document
Open</translation>
    </message>
    <message>
        <source>O&amp;twórz wykres	Ctrl+W</source>
        <translation>&amp;Fetch Waveforms…	Ctrl+W</translation>
    </message>
    <message>
        <source>Pobiera wykres
Pobierz wykres</source>
        <translation>Fetches the waveforms from the oscilloscope
Fetch Waveforms</translation>
    </message>
    <message>
        <source>&amp;Zamknij</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Z&amp;apisz	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>Zapisuje na dysk
Zapisz</source>
        <translation>Saves the document
Save</translation>
    </message>
    <message>
        <source>&amp;Kopiuj do schowka	Ctrl+C</source>
        <translation>Cop&amp;y to Clipboard	Ctrl+C</translation>
    </message>
    <message>
        <source>Kopiuje do schowka
Kopiuj do schowka</source>
        <translation>Copies the plot to the clipboard as a picture
Copy to Clipboard</translation>
    </message>
    <message>
        <source>Importuje z różnych formatów plików
Importuj</source>
        <translation>Imports a waveform from a file of another program
Import</translation>
    </message>
    <message>
        <source>Eksportuje do rożnych formatów plików
Eksportuj</source>
        <translation>Exports the plots to a file for another program
Export</translation>
    </message>
    <message>
        <source>&amp;Drukuj...	Ctrl+P</source>
        <translation>&amp;Print…	Ctrl+P</translation>
    </message>
    <message>
        <source>Włącza drukowanie
Drukuj</source>
        <translation>Prints the plot
Print</translation>
    </message>
    <message>
        <source>&amp;Wyjście</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>Wyświetla wartość średnią i skuteczną
Wartość średnia i skuteczna</source>
        <translation>Shows the rectified mean and the RMS between the cursors
Mean and RMS</translation>
    </message>
    <message>
        <source>Włącza kursor
Włącz kursor</source>
        <translation>Shows or hides the cursors
Cursors</translation>
    </message>
    <message>
        <source>Włącza białe tło
Włącz białe tło</source>
        <translation>Switches between a white and a black background
White Background</translation>
    </message>
    <message>
        <source>Włącza kursor przesunięcia
Włącz kursor przesunięcia</source>
        <translation>Shows or hides the offset cursor
Offset Cursor</translation>
    </message>
    <message>
        <source>Pokazuje pomiary automatyczne: częstotliwość, poziomy, wypełnienie, zbocza, THD
Pomiary</source>
        <translation>Shows automatic measurements: frequency, levels, duty cycle, edges, THD
Measurements</translation>
    </message>
    <message>
        <source>Włacza Matematyczny generator sygnałów
Matematyczny generator sygnałów</source>
        <translation>Makes a test signal with the signal generator
Signal Generator</translation>
    </message>
    <message>
        <source>&amp;Kaskadowo</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>&amp;Sąsiadująco</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>&amp;O programie...</source>
        <translation>&amp;About Kiv</translation>
    </message>
    <message>
        <source>O programie...
O programie...</source>
        <translation>Shows the program&apos;s version
About Kiv</translation>
    </message>
    <message>
        <source>Włącz wykres 1</source>
        <translation>Show Plot 1</translation>
    </message>
    <message>
        <source>Włącza wykres 1
Włącz wykres 1</source>
        <translation>Shows or hides plot 1
Show Plot 1</translation>
    </message>
    <message>
        <source>Włącz wykres 2</source>
        <translation>Show Plot 2</translation>
    </message>
    <message>
        <source>Włącza wykres 2
Włącz wykres 2</source>
        <translation>Shows or hides plot 2
Show Plot 2</translation>
    </message>
    <message>
        <source>&amp;Plik</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Ustawienia drukarki...</source>
        <translation>Print Set&amp;up…</translation>
    </message>
    <message>
        <source>&amp;Widok</source>
        <translation>&amp;View</translation>
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
        <source>Nieprawidłowy format pliku</source>
        <translation>Invalid file format</translation>
    </message>
    <message>
        <source>Plik o tej nazwie nie może być zapisany. Sprawdź czy plik jest już otwarty!</source>
        <translation>Cannot write a file of this name. Check whether another program has it open.</translation>
    </message>
    <message>
        <source>UWAGA !</source>
        <translation>Warning</translation>
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
        <translation>PCX images (*.pcx)</translation>
    </message>
    <message>
        <source>Sesja sigrok (*.sr)</source>
        <translation>sigrok sessions (*.sr)</translation>
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
        <translation>Choose Plot</translation>
    </message>
    <message>
        <source>Wykres</source>
        <translation>Plot</translation>
    </message>
    <message>
        <source>Właściwości wykresu 1</source>
        <translation>Plot 1 Settings</translation>
    </message>
    <message>
        <source>Właściwości wykresu 2</source>
        <translation>Plot 2 Settings</translation>
    </message>
    <message>
        <source>Kopiuj</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source> - przesunięcie wzdględem zera</source>
        <translation> – offset from zero</translation>
    </message>
    <message>
        <source>przesunięcie wykresu</source>
        <translation>plot offset</translation>
    </message>
    <message>
        <source>Włączony</source>
        <translation>Shown</translation>
    </message>
    <message>
        <source>Mnożnik</source>
        <translation>Multiply by</translation>
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
        <translation>Color:</translation>
    </message>
    <message>
        <source>Zmień</source>
        <translation>Change…</translation>
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
        <translation>Max:</translation>
    </message>
    <message>
        <source>Od</source>
        <translation>Min:</translation>
    </message>
    <message>
        <source>Obraz PNG (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>Grafika SVG (*.svg)</source>
        <translation>SVG drawings (*.svg)</translation>
    </message>
    <message>
        <source>Dokument PDF (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
    </message>
    <message>
        <source>Kursor początkowy</source>
        <translation>Start Cursor</translation>
    </message>
    <message>
        <source>Kursor końcowy</source>
        <translation>End Cursor</translation>
    </message>
    <message>
        <source>Różnica</source>
        <translation>Difference</translation>
    </message>
    <message>
        <source>Typ oscyloskopu nie zgadza się ! 
 Sprawdź czy oscyloskop jest podłączony lub
 sprawdź czy ustawienia portu oscyloskopu zgadzają się z ustawieniami portu w programie.</source>
        <translation>Oscilloscope model mismatch.
Check that the oscilloscope is connected and that its serial port settings
match the connection settings in Kiv.</translation>
    </message>
    <message>
        <source>Błąd przy zapytaniu o ustawienia oscyloskopu !</source>
        <translation>Error while reading the oscilloscope settings.</translation>
    </message>
    <message>
        <source>Błąd przy akwizycji danych !</source>
        <translation>Error while fetching the waveforms.</translation>
    </message>
    <message>
        <source>Oscyloskop odpowiada jako %1.</source>
        <translation>The oscilloscope answers as a %1.</translation>
    </message>
    <message>
        <source>Odpowiada coś innego niż %1: &quot;%2&quot;</source>
        <translation>Something other than %1 answers: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Brak odpowiedzi (%1): sprawdź kabel, zasilanie, port i prędkość transmisji.</source>
        <translation>No answer from %1: check the cable, the power, the port and the baud rate.</translation>
    </message>
    <message>
        <source>Nie można otworzyć portu COM%1.</source>
        <translation>Cannot open port COM%1.</translation>
    </message>
    <message>
        <source>Typ oscyloskopu nie zgadza się ! 
 Sprawdź czy oscyloskop jest podłączony.</source>
        <translation>Oscilloscope model mismatch.
Check that the oscilloscope is connected.</translation>
    </message>
    <message>
        <source>Błąd komunikacyjny przy zatrzymywaniu ekranu oscyloskopu.</source>
        <translation>Communication error while holding the oscilloscope display.</translation>
    </message>
    <message>
        <source>Błąd komunikacyjny przy zapytaniu o ustawienia oscyloskopu !</source>
        <translation>Communication error while reading the oscilloscope settings.</translation>
    </message>
    <message>
        <source>Błąd komunikacyjny przy akwizycji danych !</source>
        <translation>Communication error while fetching the waveforms.</translation>
    </message>
    <message>
        <source>Błąd komunikacyjny przy uruchamianu ekranu oscyloskopu.</source>
        <translation>Communication error while releasing the oscilloscope display.</translation>
    </message>
    <message>
        <source>&amp;Typ oscyloskopu</source>
        <translation>&amp;Model:</translation>
    </message>
    <message>
        <source>&amp;Prędkość transmisji</source>
        <translation>&amp;Baud rate:</translation>
    </message>
    <message>
        <source>P&amp;ort</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>Kursory pokrywanją się. Zmień pozycję kursorów </source>
        <translation>The cursors coincide. Move them apart.</translation>
    </message>
    <message>
        <source>Liczba próbek jest za mała do przeprowadzenia analizy widmowej, ustaw większy przedział czasu./n Otrzymane dane nie bedą poprawne</source>
        <translation>Too few samples for a spectral analysis: choose a longer time span. The results will not be accurate.</translation>
    </message>
    <message>
        <source>Wartość</source>
        <translation>Value:</translation>
    </message>
    <message>
        <source>Amplituda</source>
        <translation>Amplitude:</translation>
    </message>
    <message>
        <source>Wykres %1</source>
        <translation>Plot %1</translation>
    </message>
    <message>
        <source>Wprowadź liczbę.</source>
        <translation>Enter a number.</translation>
    </message>
    <message>
        <source>Wprowadź liczbę z zakresu od %1 do %2.</source>
        <translation>Enter a number from %1 to %2.</translation>
    </message>
    <message>
        <source>Czas sygnału ( w sek)</source>
        <translation>Duration (s):</translation>
    </message>
    <message>
        <source>Faza poczatkowa ( w sek)</source>
        <translation>Start phase (s):</translation>
    </message>
    <message>
        <source>Okres ( w sek )</source>
        <translation>Period (s):</translation>
    </message>
    <message>
        <source>Wykresu 1</source>
        <translation>Plot 1</translation>
    </message>
    <message>
        <source>Wykresu 2</source>
        <translation>Plot 2</translation>
    </message>
    <message>
        <source>Wykresów 1 i 2</source>
        <translation>Plots 1 and 2</translation>
    </message>
    <message>
        <source>Wartości te obliczane są dla przebiegów</source>
        <translation>The values are calculated for the waveforms</translation>
    </message>
    <message>
        <source>w zakresach wskazywanych przez kursory.</source>
        <translation>between the cursors.</translation>
    </message>
    <message>
        <source>Kursory powinny wskazywać pełny okres</source>
        <translation>The cursors should span a whole number</translation>
    </message>
    <message>
        <source>przebiegu lub jego wielokrotność.</source>
        <translation>of periods of the waveform.</translation>
    </message>
    <message>
        <source>Kiv Wersja %1</source>
        <translation>Kiv version %1</translation>
    </message>
    <message>
        <source>to nie jest dokument Kiv (nazwa pliku musi kończyć się na .kiv)</source>
        <translation>not a Kiv document (the file name must end in .kiv)</translation>
    </message>
    <message>
        <source>Nie znaleziono żadnego portu szeregowego: sprawdź, czy urządzenie jest podłączone.</source>
        <translation>No serial port found: check that the device is plugged in.</translation>
    </message>
    <message>
        <source>Dostępne porty szeregowe: %1.</source>
        <translation>Serial ports available: %1.</translation>
    </message>
    <message>
        <source>Poproś administratora o dostęp do tego urządzenia.</source>
        <translation>Ask your administrator for access to this device.</translation>
    </message>
    <message>
        <source>Urządzenie należy do grupy %1: dodaj użytkownika do tej grupy (sudo usermod -aG %1 %2) i zaloguj się ponownie.</source>
        <translation>The device belongs to the group %1: add your user to that group (sudo usermod -aG %1 %2) and log in again.</translation>
    </message>
    <message>
        <source>Używa go program (PID %1): zamknij go i spróbuj ponownie.</source>
        <translation>A program (PID %1) is using it: quit it and try again.</translation>
    </message>
    <message>
        <source>Używa go program %1 (PID %2): zamknij go i spróbuj ponownie.</source>
        <translation>The program %1 (PID %2) is using it: quit it and try again.</translation>
    </message>
    <message>
        <source>Używa go inny program: zamknij go i spróbuj ponownie.</source>
        <translation>Another program is using it: quit it and try again.</translation>
    </message>
    <message>
        <source>Nie można otworzyć %1: takie urządzenie nie istnieje (%2).</source>
        <translation>Cannot open %1: no such device (%2).</translation>
    </message>
    <message>
        <source>Nie można otworzyć %1: to nie jest port szeregowy (%2).</source>
        <translation>Cannot open %1: not a serial port (%2).</translation>
    </message>
    <message>
        <source>Nie można otworzyć %1: za tym portem nie ma sprzętu (%2).</source>
        <translation>Cannot open %1: there is no hardware behind this port (%2).</translation>
    </message>
    <message>
        <source>Nie można otworzyć %1: brak uprawnień (%2).</source>
        <translation>Cannot open %1: permission denied (%2).</translation>
    </message>
    <message>
        <source>Nie można otworzyć %1: urządzenie jest zajęte (%2).</source>
        <translation>Cannot open %1: the device is busy (%2).</translation>
    </message>
    <message>
        <source>Nie można otworzyć %1: %2.</source>
        <translation>Cannot open %1: %2.</translation>
    </message>
    <message>
        <source>Oś Y</source>
        <translation>Y Axis</translation>
    </message>
    <message>
        <source>Oś Y1</source>
        <translation>Y1 Axis</translation>
    </message>
    <message>
        <source>Oś Y2</source>
        <translation>Y2 Axis</translation>
    </message>
    <message>
        <source>Oś X</source>
        <translation>X Axis</translation>
    </message>
    <message>
        <source>Wykres drugi</source>
        <translation>Plot 2</translation>
    </message>
    <message>
        <source>Zapisać zmiany w dokumencie %1?</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>Eksportuj</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Importuj</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Zamyka aktywny dokument
Zamknij</source>
        <translation>Closes the active document
Close</translation>
    </message>
    <message>
        <source>Zapisz &amp;jako...</source>
        <translation>Save &amp;As…</translation>
    </message>
    <message>
        <source>Zapisuje dokument pod nową nazwą
Zapisz jako</source>
        <translation>Saves the document under a new name
Save As</translation>
    </message>
    <message>
        <source>&amp;Importuj...	Ctrl+I</source>
        <translation>&amp;Import…	Ctrl+I</translation>
    </message>
    <message>
        <source>&amp;Eksportuj...	Ctrl+E</source>
        <translation>&amp;Export…	Ctrl+E</translation>
    </message>
    <message>
        <source>Podg&amp;ląd wydruku</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>Pokazuje stronę tak, jak zostanie wydrukowana
Podgląd wydruku</source>
        <translation>Shows the page as it will be printed
Print Preview</translation>
    </message>
    <message>
        <source>Zmienia drukarkę i opcje drukowania
Ustawienia drukarki</source>
        <translation>Chooses the printer and its options
Print Setup</translation>
    </message>
    <message>
        <source>Otwiera ten dokument</source>
        <translation>Opens this document</translation>
    </message>
    <message>
        <source>Kończy pracę programu, pytając o zapisanie zmienionych dokumentów
Wyjście</source>
        <translation>Quits Kiv, asking whether to save modified documents
Quit</translation>
    </message>
    <message>
        <source>Ustawienia &amp;danych...</source>
        <translation>&amp;Data Settings…</translation>
    </message>
    <message>
        <source>Ustawienia &amp;skali...</source>
        <translation>&amp;Scale Settings…</translation>
    </message>
    <message>
        <source>Ustawienia skali osi &amp;X...</source>
        <translation>&amp;X-Axis Scale Settings…</translation>
    </message>
    <message>
        <source>&amp;Wartość średnia i skuteczna</source>
        <translation>&amp;Mean and RMS</translation>
    </message>
    <message>
        <source>Pasek &amp;narzędzi</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>Pokazuje lub ukrywa pasek narzędzi
Pasek narzędzi</source>
        <translation>Shows or hides the toolbar
Toolbar</translation>
    </message>
    <message>
        <source>Pasek &amp;statusu</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>Pokazuje lub ukrywa pasek statusu
Pasek statusu</source>
        <translation>Shows or hides the status bar
Status Bar</translation>
    </message>
    <message>
        <source>&amp;Kursor</source>
        <translation>&amp;Cursors</translation>
    </message>
    <message>
        <source>&amp;Białe tło</source>
        <translation>&amp;White Background</translation>
    </message>
    <message>
        <source>Kursor &amp;przesunięcia</source>
        <translation>&amp;Offset Cursor</translation>
    </message>
    <message>
        <source>Po&amp;miary</source>
        <translation>&amp;Measurements</translation>
    </message>
    <message>
        <source>&amp;Generator</source>
        <translation>&amp;Generator…</translation>
    </message>
    <message>
        <source>Układa okna tak, że zachodzą na siebie
Kaskadowo</source>
        <translation>Arranges the windows so that they overlap
Cascade Windows</translation>
    </message>
    <message>
        <source>Układa okna obok siebie, tak że nie zachodzą na siebie
Sąsiadująco</source>
        <translation>Arranges the windows side by side, without overlapping
Tile Windows</translation>
    </message>
    <message>
        <source>Wykres &amp;oryginalny</source>
        <translation>&amp;Original Waveforms</translation>
    </message>
    <message>
        <source>&amp;Różniczka</source>
        <translation>&amp;Derivative</translation>
    </message>
    <message>
        <source>&amp;Całka</source>
        <translation>&amp;Integral</translation>
    </message>
    <message>
        <source>Tryb X&amp;Y</source>
        <translation>X&amp;Y Mode</translation>
    </message>
    <message>
        <source>&amp;Suma wykresów</source>
        <translation>&amp;Sum of Plots</translation>
    </message>
    <message>
        <source>&amp;Iloczyn  wykresów</source>
        <translation>&amp;Product of Plots</translation>
    </message>
    <message>
        <source>Analiza &amp;Fouriera</source>
        <translation>&amp;Fourier Analysis</translation>
    </message>
    <message>
        <source>Pomo&amp;c</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Ustawienia</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Wykres &amp;1</source>
        <translation>Plot &amp;1</translation>
    </message>
    <message>
        <source>Wykres &amp;2</source>
        <translation>Plot &amp;2</translation>
    </message>
    <message>
        <source>Automatycznie (SCPI)</source>
        <translation>Automatic (SCPI)</translation>
    </message>
    <message>
        <source>Kiv nie zna przyrządu %1 %2 (odpowiedź na *IDN?); wybierz model ręcznie, jeśli mówi językiem jednego ze znanych</source>
        <translation>Kiv does not know the instrument %1 %2 (its answer to *IDN?); choose the model yourself if it speaks the language of one Kiv knows</translation>
    </message>
    <message>
        <source>%1 nie wysyła obrazu swojego ekranu</source>
        <translation>%1 cannot send a picture of its screen</translation>
    </message>
    <message>
        <source>%1 (odpowiedź na %2)</source>
        <translation>%1 (answer to %2)</translation>
    </message>
    <message>
        <source>blok danych jest dłuższy, niż mówi jego nagłówek (odpowiedź na %1)</source>
        <translation>the data block is longer than its header says (answer to %1)</translation>
    </message>
    <message>
        <source>połączenie zostało przerwane</source>
        <translation>the connection was lost</translation>
    </message>
    <message>
        <source>%1 (czekano na %2)</source>
        <translation>%1 (while waiting for %2)</translation>
    </message>
    <message>
        <source>blok danych zapowiadał %1 bajtów, w ciągu %2 s przyszło mniej (odpowiedź na %3)</source>
        <translation>the data block announced %1 bytes, fewer came within %2 s (answer to %3)</translation>
    </message>
    <message>
        <source>odpowiedź na %1 nie skończyła się w ciągu %2 s</source>
        <translation>the answer to %1 did not end within %2 s</translation>
    </message>
    <message>
        <source>brak odpowiedzi na %1 w ciągu %2 s</source>
        <translation>no answer to %1 within %2 s</translation>
    </message>
    <message>
        <source>nie można otworzyć połączenia</source>
        <translation>cannot open the connection</translation>
    </message>
    <message>
        <source>to nie jest %1, przyrząd przedstawia się jako %2 %3</source>
        <translation>this is not a %1; the instrument calls itself %2 %3</translation>
    </message>
    <message>
        <source>odpowiedź na *IDN? to nie jest tożsamość przyrządu: „%1”</source>
        <translation>the answer to *IDN? is no instrument identity: “%1”</translation>
    </message>
    <message>
        <source>kanał %1: %2</source>
        <translation>channel %1: %2</translation>
    </message>
    <message>
        <source>podstawa czasu, którą podał przyrząd, jest błędna</source>
        <translation>the instrument gave an invalid time base</translation>
    </message>
    <message>
        <source>kanał %1 jest wyłączony na przyrządzie</source>
        <translation>channel %1 is switched off on the instrument</translation>
    </message>
    <message>
        <source>kanał %1: opis przebiegu (:WAV:PRE?) jest błędny</source>
        <translation>channel %1: the waveform preamble (:WAV:PRE?) is invalid</translation>
    </message>
    <message>
        <source>kanał %1: przyrząd nie ma danych do wysłania</source>
        <translation>channel %1: the instrument has no data to send</translation>
    </message>
    <message>
        <source>zamiast bloku danych przyszło co innego</source>
        <translation>something other than a data block came</translation>
    </message>
    <message>
        <source>nagłówek bloku danych jest błędny</source>
        <translation>the data block&apos;s header is invalid</translation>
    </message>
    <message>
        <source>obraz ekranu jest uszkodzony</source>
        <translation>the screen picture is damaged</translation>
    </message>
    <message>
        <source>zamiast obrazu ekranu przyszło co innego</source>
        <translation>something other than a screen picture came</translation>
    </message>
    <message>
        <source>przebieg nie ma ani jednego punktu</source>
        <translation>the waveform has no points</translation>
    </message>
    <message>
        <source>opis przebiegu jest niepełny lub błędny</source>
        <translation>the waveform&apos;s description is incomplete or invalid</translation>
    </message>
    <message>
        <source>„%1” to nie jest adres sieciowy (tcp://HOST:PORT)</source>
        <translation>“%1” is not a network address (tcp://HOST:PORT)</translation>
    </message>
    <message>
        <source>nie znaleziono adresu hosta %1 w ciągu 3 s</source>
        <translation>the address of the host %1 was not found within 3 s</translation>
    </message>
    <message>
        <source>nie ma takiego hosta: %1 (%2)</source>
        <translation>no such host: %1 (%2)</translation>
    </message>
    <message>
        <source>brak połączenia w ciągu 3 s (czy przyrząd jest włączony i w tej sieci?)</source>
        <translation>no connection within 3 s (is the instrument switched on and on this network?)</translation>
    </message>
    <message>
        <source>połączenie odrzucone (czy to właściwy port i czy przyrząd ma włączony dostęp przez sieć?)</source>
        <translation>connection refused (is it the right port, and is the instrument&apos;s network access enabled?)</translation>
    </message>
    <message>
        <source>nie można się połączyć: %1</source>
        <translation>cannot connect: %1</translation>
    </message>
    <message>
        <source>przyrząd zamknął połączenie</source>
        <translation>the instrument closed the connection</translation>
    </message>
    <message>
        <source>połączenie zerwane: %1</source>
        <translation>the connection broke: %1</translation>
    </message>
    <message>
        <source>nie ma urządzenia %1 (czy przyrząd jest podłączony i włączony?)</source>
        <translation>there is no device %1 (is the instrument plugged in and switched on?)</translation>
    </message>
    <message>
        <source>brak uprawnień do %1; reguła udev z TAG+=&quot;uaccess&quot; (albo grupa z dostępem do urządzenia) daje je zalogowanemu użytkownikowi</source>
        <translation>no permission to open %1; a udev rule with TAG+=&quot;uaccess&quot; (or a group with access to the device) gives it to the logged-in user</translation>
    </message>
    <message>
        <source>nie można otworzyć %1: %2</source>
        <translation>cannot open %1: %2</translation>
    </message>
    <message>
        <source>%1 jest zajęte przez inny program</source>
        <translation>%1 is in use by another program</translation>
    </message>
    <message>
        <source>przyrząd USB %1 został odłączony</source>
        <translation>the USB instrument %1 was unplugged</translation>
    </message>
    <message>
        <source>błąd USB na %1: %2</source>
        <translation>USB error on %1: %2</translation>
    </message>
    <message>
        <source>Brak dostępu do %1. Reguła udev daje go zalogowanemu użytkownikowi: plik /etc/udev/rules.d/70-kiv-usbtmc.rules z wierszem SUBSYSTEM==&quot;usbmisc&quot;, KERNEL==&quot;usbtmc[0-9]*&quot;, TAG+=&quot;uaccess&quot; (albo GROUP=&quot;plugdev&quot;, MODE=&quot;0660&quot; dla członków grupy), potem sudo udevadm control --reload-rules i ponowne podłączenie przyrządu.</source>
        <translation>No access to %1. A udev rule gives it to the logged-in user: a file /etc/udev/rules.d/70-kiv-usbtmc.rules with the line SUBSYSTEM==&quot;usbmisc&quot;, KERNEL==&quot;usbtmc[0-9]*&quot;, TAG+=&quot;uaccess&quot; (or GROUP=&quot;plugdev&quot;, MODE=&quot;0660&quot; for the members of a group), then sudo udevadm control --reload-rules and plug the instrument in again.</translation>
    </message>
    <message>
        <source>Pobieranie ciągłe: %1 odczytu/s (%2)</source>
        <translation>Live fetch: %1 records/s (%2)</translation>
    </message>
    <message>
        <source>Ekran oscyloskopu — %1</source>
        <translation>Oscilloscope Screen — %1</translation>
    </message>
    <message>
        <source>&amp;Zapisz jako PNG...</source>
        <translation>&amp;Save as PNG…</translation>
    </message>
    <message>
        <source>Zamknij</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Zapisz obraz ekranu</source>
        <translation>Save Screenshot</translation>
    </message>
    <message>
        <source>Obrazy PNG (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>%1: obraz ekranu jest uszkodzony</source>
        <translation>%1: the screen picture is damaged</translation>
    </message>
    <message>
        <source>Pobieranie &amp;ciągłe (Start/Stop)	F5</source>
        <translation>&amp;Live Fetch (Start/Stop)	F5</translation>
    </message>
    <message>
        <source>Pobiera wykresy raz za razem, aż do zatrzymania
Pobieranie ciągłe (Start/Stop)</source>
        <translation>Fetches the waveforms again and again until stopped
Live Fetch (Start/Stop)</translation>
    </message>
    <message>
        <source>Zrzut ek&amp;ranu oscyloskopu...</source>
        <translation>Oscilloscope Sc&amp;reenshot…</translation>
    </message>
    <message>
        <source>odpowiedź na %1 jest błędna: „%2”</source>
        <translation>the answer to %1 is wrong: “%2”</translation>
    </message>
    <message>
        <source>%1 %2 używa nowego zestawu poleceń Siglent, a Kiv obsługuje zestaw poleceń serii SDS1000X-E i SDS2000X-E</source>
        <translation>%1 %2 uses Siglent&apos;s new command set; Kiv drives the command set of the SDS1000X-E and SDS2000X-E series</translation>
    </message>
    <message>
        <source>%1 ma tylko %2 kanały, nie ma kanału %3</source>
        <translation>the %1 has only %2 channels, there is no channel %3</translation>
    </message>
    <message>
        <source>kanał %1: przyrząd %2 ma tylko %3 kanały</source>
        <translation>channel %1: the %2 has only %3 channels</translation>
    </message>
    <message>
        <source>kanał %1: opis przebiegu (WFMPre?) jest błędny</source>
        <translation>channel %1: the waveform description (WFMPre?) is invalid</translation>
    </message>
    <message>
        <source>niezrozumiała odpowiedź na %1: „%2”</source>
        <translation>unintelligible reply to %1: “%2”</translation>
    </message>
    <message>
        <source>%1 należy do serii TBS1000C, która ma inne oprogramowanie i inne polecenia; ten sterownik obsługuje TDS1000/TDS2000, TPS2000 i TBS1000 (także B)</source>
        <translation>%1 belongs to the TBS1000C series, whose firmware and commands differ; this driver supports the TDS1000/TDS2000, TPS2000 and TBS1000 (also B)</translation>
    </message>
    <message>
        <source>Pobiera obraz ekranu oscyloskopu
Zrzut ekranu oscyloskopu</source>
        <translation>Fetches the picture on the oscilloscope&apos;s screen
Oscilloscope Screenshot</translation>
    </message>
    <message>
        <source>Poziom górny</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Poziom dolny</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>Poziom środkowy</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>Pole</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Średnia z okresów</source>
        <translation>Cycle mean</translation>
    </message>
    <message>
        <source>RMS z okresów</source>
        <translation>Cycle RMS</translation>
    </message>
    <message>
        <source>RMS zmiennej z okresów</source>
        <translation>Cycle AC RMS</translation>
    </message>
    <message>
        <source>Pole z okresów</source>
        <translation>Cycle area</translation>
    </message>
    <message>
        <source>Przerzut górny</source>
        <translation>Overshoot</translation>
    </message>
    <message>
        <source>Przerzut dolny</source>
        <translation>Preshoot</translation>
    </message>
    <message>
        <source>Szerokość dodatnia</source>
        <translation>Positive width</translation>
    </message>
    <message>
        <source>Szerokość ujemna</source>
        <translation>Negative width</translation>
    </message>
    <message>
        <source>Wypełnienie ujemne</source>
        <translation>Negative duty cycle</translation>
    </message>
    <message>
        <source>Szybkość narastania</source>
        <translation>Rising slew rate</translation>
    </message>
    <message>
        <source>Szybkość opadania</source>
        <translation>Falling slew rate</translation>
    </message>
    <message>
        <source>Zbocza narastające</source>
        <translation>Rising edges</translation>
    </message>
    <message>
        <source>Zbocza opadające</source>
        <translation>Falling edges</translation>
    </message>
    <message>
        <source>Impulsy dodatnie</source>
        <translation>Positive pulses</translation>
    </message>
    <message>
        <source>Impulsy ujemne</source>
        <translation>Negative pulses</translation>
    </message>
    <message>
        <source>Szerokość paczki</source>
        <translation>Burst width</translation>
    </message>
    <message>
        <source>Opóźnienie ↑↑</source>
        <translation>Delay ↑↑</translation>
    </message>
    <message>
        <source>Opóźnienie ↓↓</source>
        <translation>Delay ↓↓</translation>
    </message>
    <message>
        <source>Faza</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Amplituda i poziomy</source>
        <translation>Amplitude and levels</translation>
    </message>
    <message>
        <source>Czas i zbocza</source>
        <translation>Time and edges</translation>
    </message>
    <message>
        <source>Między wykresami</source>
        <translation>Between the plots</translation>
    </message>
    <message>
        <source>Widmo</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>Bieżąca</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Maks</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>Statystyki: średnia, minimum, maksimum, σ i liczba zapisów</source>
        <translation>Statistics: mean, minimum, maximum, σ and number of records</translation>
    </message>
    <message>
        <source>Wybierz pomiary</source>
        <translation>Choose Measurements</translation>
    </message>
    <message>
        <source>Pomiar</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Domyślne</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>&amp;Wybierz pomiary…</source>
        <translation>C&amp;hoose Measurements…</translation>
    </message>
    <message>
        <source>Wybiera pomiary, które pokazuje panel Pomiary
Wybierz pomiary</source>
        <translation>Chooses the measurements the Measurements panel shows
Choose Measurements</translation>
    </message>
    <message>
        <source>S&amp;tatystyki pomiarów</source>
        <translation>Measurement Stat&amp;istics</translation>
    </message>
    <message>
        <source>Pokazuje przy pomiarach średnią, minimum, maksimum, odchylenie standardowe i liczbę zapisów
Statystyki pomiarów</source>
        <translation>Shows the mean, minimum, maximum, standard deviation and number of records beside the measurements
Measurement Statistics</translation>
    </message>
    <message>
        <source>&amp;Zeruj statystyki</source>
        <translation>&amp;Reset Statistics</translation>
    </message>
    <message>
        <source>Zaczyna statystyki pomiarów od nowa
Zeruj statystyki</source>
        <translation>Starts the measurement statistics afresh
Reset Statistics</translation>
    </message>
    <message>
        <source>Wybierz pomiary…</source>
        <translation>Choose measurements…</translation>
    </message>
    <message>
        <source>Statystyki pomiarów</source>
        <translation>Measurement statistics</translation>
    </message>
    <message>
        <source>Zeruj statystyki</source>
        <translation>Reset statistics</translation>
    </message>
    <message>
        <source>Amplituda poziomów</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>oczekiwanie na dane z portu nie powiodło się (%1)</source>
        <translation>waiting for data from the port failed (%1)</translation>
    </message>
    <message>
        <source>odczyt z portu nie powiódł się (%1)</source>
        <translation>reading from the port failed (%1)</translation>
    </message>
    <message>
        <source>zapis do portu nie powiódł się (%1)</source>
        <translation>writing to the port failed (%1)</translation>
    </message>
    <message>
        <source>%1: nie można ustawić parametrów transmisji portu (%2).</source>
        <translation>%1: cannot apply the connection settings to the port (%2).</translation>
    </message>
    <message>
        <source>%1: port szeregowy nie obsługuje ustawień transmisji %2.</source>
        <translation>%1: the serial port does not support the connection settings %2.</translation>
    </message>
</context>
<context>
    <name>kiv-scope-sim</name>
    <message>
        <source>nie można przechwycić sygnałów: %1</source>
        <translation>cannot catch signals: %1</translation>
    </message>
    <message>
        <source>MODEL</source>
        <translation>MODEL</translation>
    </message>
    <message>
        <source>udawany przyrząd, jeden z modeli powyżej albo jego numer w Kiv.cfg (wymagana)</source>
        <translation>the instrument played, one of the models above or its number in Kiv.cfg (required)</translation>
    </message>
    <message>
        <source>ŚCIEŻKA</source>
        <translation>PATH</translation>
    </message>
    <message>
        <source>dowiązanie symboliczne ŚCIEŻKA do pseudoterminala; zastępuje dawne o tej nazwie; bez tej opcji ścieżkę pseudoterminala wypisuje na standardowe wyjście</source>
        <translation>a symbolic link PATH to the pseudo-terminal, replacing an old one of that name; without this option the pseudo-terminal&apos;s path is printed on standard output</translation>
    </message>
    <message>
        <source>KSZTAŁT</source>
        <translation>SHAPE</translation>
    </message>
    <message>
        <source>kształt sygnału kanału: sine, square, triangle albo dc (domyślnie kolejno sine, square, triangle, dc); każdy zaczyna okres w chwili wyzwolenia</source>
        <translation>the channel&apos;s signal: sine, square, triangle or dc (by default sine, square, triangle and dc in turn); each starts its period at the trigger</translation>
    </message>
    <message>
        <source>wolty na działkę ekranu, liczba &gt; 0 (domyślnie 0.5)</source>
        <translation>volts per screen division, a number &gt; 0 (default 0.5)</translation>
    </message>
    <message>
        <source>sekundy na działkę ekranu, liczba &gt; 0 (domyślnie 0.0005)</source>
        <translation>seconds per screen division, a number &gt; 0 (default 0.0005)</translation>
    </message>
    <message>
        <source>amplituda szczytowa sygnałów w woltach, liczba &gt; 0; dc leży na +V (domyślnie 1)</source>
        <translation>peak amplitude of the signals in volts, a number &gt; 0; dc lies at +V (default 1)</translation>
    </message>
    <message>
        <source>częstotliwość sygnałów w Hz, liczba &gt; 0 (domyślnie 1000)</source>
        <translation>frequency of the signals in Hz, a number &gt; 0 (default 1000)</translation>
    </message>
    <message>
        <source>SZYBKOŚĆ</source>
        <translation>RATE</translation>
    </message>
    <message>
        <source>szybkość linii w bit/s dla --baud-delay, liczba całkowita (domyślnie 9600)</source>
        <translation>line speed in bit/s for --baud-delay, an integer (default 9600)</translation>
    </message>
    <message>
        <source>odpowiedzi płyną w tempie linii: znak to bit startu oraz bity danych, parzystości i stopu modelu</source>
        <translation>replies flow at the line&apos;s pace: a character takes the start bit and the model&apos;s data, parity and stop bits</translation>
    </message>
    <message>
        <source>USTERKA</source>
        <translation>FAULT</translation>
    </message>
    <message>
        <source>udawana usterka, jedna z wymienionych niżej</source>
        <translation>a simulated fault, one of those listed below</translation>
    </message>
    <message>
        <source>ziarno szumu noise:P, od 0 do 4294967295 (domyślnie 1); to samo ziarno daje ten sam szum</source>
        <translation>seed of the noise:P fault, 0 to 4294967295 (default 1); the same seed gives the same noise</translation>
    </message>
    <message>
        <source>PLIK</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>dopisuje do PLIKU każde zapytanie w całości, jedno w wierszu</source>
        <translation>appends every request, whole, one per line, to FILE</translation>
    </message>
    <message>
        <source>kończy pracę, gdy druga strona pierwszy raz zamknie port</source>
        <translation>ends when the other side closes the port for the first time</translation>
    </message>
    <message>
        <source>przyrząd SCPI przyjmuje połączenia TCP na HOST:PORT zamiast pseudoterminala; port 0 wybiera wolny i wypisuje go</source>
        <translation>an SCPI instrument takes TCP connections on HOST:PORT instead of a pseudo-terminal; port 0 picks a free one and prints it</translation>
    </message>
    <message>
        <source>przyrząd SCPI jest zatrzymany (domyślnie pracuje)</source>
        <translation>the SCPI instrument is stopped (by default it runs)</translation>
    </message>
    <message>
        <source>przesunięcie poziome ekranu przyrządu SCPI: środek ekranu S sekund po wyzwoleniu (domyślnie 0)</source>
        <translation>horizontal offset of the SCPI instrument&apos;s screen: its centre S seconds after the trigger (default 0)</translation>
    </message>
    <message>
        <source>kanał N przyrządu SCPI jest wyłączony; można powtórzyć</source>
        <translation>channel N of the SCPI instrument is off; may be repeated</translation>
    </message>
    <message>
        <source>wypisuje wersję i kończy pracę</source>
        <translation>print the version and exit</translation>
    </message>
    <message>
        <source>ten opis</source>
        <translation>show this help</translation>
    </message>
    <message>
        <source>Usterki odpowiedzi modelu:</source>
        <translation>Faults of the model&apos;s replies:</translation>
    </message>
    <message>
        <source>przebieg krótszy o 100 punktów</source>
        <translation>a waveform 100 points short</translation>
    </message>
    <message>
        <source>szum zamiast identyfikacji lub potwierdzenia (LT224: w cyfrach przebiegu)</source>
        <translation>noise instead of the identification or acknowledgement (LT224: in the waveform&apos;s digits)</translation>
    </message>
    <message>
        <source>inny przyrząd tej samej rodziny</source>
        <translation>another instrument of the same family</translation>
    </message>
    <message>
        <source>Usterki linii, dla wszystkiego, co model wysyła:</source>
        <translation>Faults of the line, for everything the model sends:</translation>
    </message>
    <message>
        <source>żadnej odpowiedzi</source>
        <translation>no reply at all</translation>
    </message>
    <message>
        <source>linia zrywa się w połowie pierwszej długiej odpowiedzi (przebiegu), gdy druga strona odczyta to, co przyszło wcześniej</source>
        <translation>the line breaks halfway through the first long reply (a waveform), once the other side has read what came before</translation>
    </message>
    <message>
        <source>ginie co N-ty wysłany bajt (N &gt;= 1)</source>
        <translation>every N-th byte sent is lost (N &gt;= 1)</translation>
    </message>
    <message>
        <source>w każdym wysłanym bajcie z prawdopodobieństwem P (0..1) jeden losowy bit jest odwrócony; --seed S powtarza przebieg</source>
        <translation>in each byte sent one random bit is flipped with probability P (0..1); --seed S repeats a run</translation>
    </message>
    <message>
        <source>przerwa MS milisekund w połowie każdej długiej odpowiedzi</source>
        <translation>a pause of MS milliseconds halfway through each long reply</translation>
    </message>
    <message>
        <source>pseudoterminal zamyka się w połowie pierwszej długiej odpowiedzi, gdy druga strona wciąż czyta; reszta przepada</source>
        <translation>the pseudo-terminal closes halfway through the first long reply while the other side is still reading; the rest is lost</translation>
    </message>
    <message>
        <source>Usterki przyrządów SCPI:</source>
        <translation>Faults of the SCPI instruments:</translation>
    </message>
    <message>
        <source>blok danych bez LF na końcu (Rigol)</source>
        <translation>a data block without the LF after it (Rigol)</translation>
    </message>
    <message>
        <source>pierwszy blok po :RUN krótszy niż zapis (Rigol)</source>
        <translation>the first block after :RUN shorter than the record (Rigol)</translation>
    </message>
    <message>
        <source>pierwsze WF? bez odpowiedzi (Siglent)</source>
        <translation>the first WF? never answered (Siglent)</translation>
    </message>
    <message>
        <source>&quot;+0&quot; na pierwsze :WAV:PRE? (Keysight)</source>
        <translation>&quot;+0&quot; to the first :WAV:PRE? (Keysight)</translation>
    </message>
    <message>
        <source>odpowiedzi po kilka bajtów</source>
        <translation>replies a few bytes at a time</translation>
    </message>
    <message>
        <source>blok dłuższy, niż mówi jego nagłówek</source>
        <translation>a block longer than its header says</translation>
    </message>
    <message>
        <source>blok krótszy, niż mówi jego nagłówek, potem cisza</source>
        <translation>a block shorter than its header says, then silence</translation>
    </message>
    <message>
        <source>nagłówek bloku z mniejszą liczbą cyfr, niż zapowiada</source>
        <translation>a block header with fewer digits than it announces</translation>
    </message>
    <message>
        <source>połączenie zerwane (RST) w połowie pierwszej długiej odpowiedzi</source>
        <translation>the connection reset (RST) halfway through the first long reply</translation>
    </message>
    <message>
        <source>--fault drop:N wymaga liczby całkowitej N &gt;= 1, a nie %1</source>
        <translation>--fault drop:N needs an integer N &gt;= 1, not %1</translation>
    </message>
    <message>
        <source>--fault noise:P wymaga prawdopodobieństwa 0 &lt;= P &lt;= 1, a nie %1</source>
        <translation>--fault noise:P needs a probability 0 &lt;= P &lt;= 1, not %1</translation>
    </message>
    <message>
        <source>--fault stall:MS wymaga całkowitej liczby milisekund MS &gt;= 0, a nie %1</source>
        <translation>--fault stall:MS needs a whole number of milliseconds MS &gt;= 0, not %1</translation>
    </message>
    <message>
        <source>nieznana usterka %1</source>
        <translation>unknown fault %1</translation>
    </message>
    <message>
        <source>nieznana opcja %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>opcja %1 wymaga wartości</source>
        <translation>option %1 needs a value</translation>
    </message>
    <message>
        <source>opcja %1 nie przyjmuje wartości</source>
        <translation>option %1 takes no value</translation>
    </message>
    <message>
        <source>nieoczekiwany argument %1</source>
        <translation>unexpected argument %1</translation>
    </message>
    <message>
        <source>zła wartość opcji --%1: %2</source>
        <translation>bad value of option --%1: %2</translation>
    </message>
    <message>
        <source>brak opcji --model (jeden z: %1)</source>
        <translation>option --model is missing (one of: %1)</translation>
    </message>
    <message>
        <source>nieznany model %1 (znane: %2)</source>
        <translation>unknown model %1 (known: %2)</translation>
    </message>
    <message>
        <source>Użycie: kiv-scope-sim --model MODEL [opcje]</source>
        <translation>Usage: kiv-scope-sim --model MODEL [options]</translation>
    </message>
    <message>
        <source>Udaje oscyloskop na pseudoterminalu, który Kiv otwiera jako port COMn (zmienna KIV_COMn), albo przyrząd SCPI na gnieździe TCP (--listen). Pracuje do sygnału SIGTERM lub SIGINT.</source>
        <translation>Plays an oscilloscope on a pseudo-terminal, which Kiv opens as port COMn (the variable KIV_COMn), or an SCPI instrument on a TCP socket (--listen). Runs until SIGTERM or SIGINT.</translation>
    </message>
    <message>
        <source>Modele:</source>
        <translation>Models:</translation>
    </message>
    <message>
        <source>Opcje:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>Kod wyjścia: 0 po zakończeniu pracy (sygnał, --once, zerwana linia), 1 przy błędzie w trakcie pracy, 2 przy błędnym wywołaniu.</source>
        <translation>Exit status: 0 when the work ended (a signal, --once, a hung-up line), 1 on an error while working, 2 on wrong usage.</translation>
    </message>
    <message>
        <source>nie można utworzyć pseudoterminala: %1</source>
        <translation>cannot create the pseudo-terminal: %1</translation>
    </message>
    <message>
        <source>nie można ustawić pseudoterminala: %1</source>
        <translation>cannot set up the pseudo-terminal: %1</translation>
    </message>
    <message>
        <source>nie można utworzyć dowiązania %1: %2</source>
        <translation>cannot create the link %1: %2</translation>
    </message>
    <message>
        <source>polecenie spoza podręcznika przyrządu: %1</source>
        <translation>a command the instrument&apos;s manual does not have: %1</translation>
    </message>
    <message>
        <source>nie można otworzyć %1: %2</source>
        <translation>cannot open %1: %2</translation>
    </message>
    <message>
        <source>--listen wymaga HOST:PORT, a nie %1</source>
        <translation>--listen needs HOST:PORT, not %1</translation>
    </message>
    <message>
        <source>nie można słuchać na %1: %2</source>
        <translation>cannot listen on %1: %2</translation>
    </message>
    <message>
        <source>pierwsza odpowiedź po połączeniu spóźniona o MS milisekund (Keysight)</source>
        <translation>the first reply after connecting MS milliseconds late (Keysight)</translation>
    </message>
    <message>
        <source>WFMPre? z odpowiedzią po sekundzie (Tektronix)</source>
        <translation>WFMPre? answered after a second (Tektronix)</translation>
    </message>
    <message>
        <source>--fault slow-first:MS wymaga całkowitej liczby milisekund MS &gt;= 0, a nie %1</source>
        <translation>--fault slow-first:MS needs a whole number of milliseconds MS &gt;= 0, not %1</translation>
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
    <message>
        <source>--cursors przyjmuje C1,C2, każdy od 0 do 4000</source>
        <translation>--cursors takes C1,C2, each from 0 to 4000</translation>
    </message>
    <message>
        <source>--%1 przyjmuje liczbę, nie %2</source>
        <translation>--%1 takes a number, not %2</translation>
    </message>
    <message>
        <source>--what przyjmuje raw, shown, calc, disp lub harm, nie %1</source>
        <translation>--what takes raw, shown, calc, disp or harm, not %1</translation>
    </message>
    <message>
        <source>--kind przyjmuje const, sine lub square</source>
        <translation>--kind takes const, sine or square</translation>
    </message>
    <message>
        <source>--target przyjmuje 1, 2 lub 3</source>
        <translation>--target takes 1, 2 or 3</translation>
    </message>
    <message>
        <source>--%1 musi leżeć między %2 a %3</source>
        <translation>--%1 must be between %2 and %3</translation>
    </message>
    <message>
        <source>średnia i RMS nie są dostępne w tym trybie</source>
        <translation>the mean and RMS are not available in this mode</translation>
    </message>
    <message>
        <source>Błąd przy wyliczaniu</source>
        <translation>the values cannot be calculated</translation>
    </message>
    <message>
        <source>%1 [opcje]</source>
        <translation>%1 [options]</translation>
    </message>
    <message>
        <source>Użycie: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>Opcje:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>ten opis</source>
        <translation>show this help</translation>
    </message>
    <message>
        <source>kivtool POLECENIE [PLIKI] [opcje]</source>
        <translation>kivtool COMMAND [FILES] [options]</translation>
    </message>
    <message>
        <source>Kiv bez okien: dokumenty .kiv, ich tryby, import, eksport, generator i pobieranie
przebiegów z oscyloskopu, do skryptów i sprawdzeń.</source>
        <translation>Kiv without windows, for scripts and checks: .kiv documents and their modes,
import, export, the signal generator and fetching from the oscilloscope.</translation>
    </message>
    <message>
        <source>Polecenia:</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>nieznany model %1 (%2)</source>
        <translation>unknown model %1 (%2)</translation>
    </message>
    <message>
        <source>--port przyjmuje 1..255 (COMn)</source>
        <translation>--port takes 1..255 (COMn)</translation>
    </message>
    <message>
        <source>--port i --device wykluczają się</source>
        <translation>--port and --device cannot be used together</translation>
    </message>
    <message>
        <source>--baud przyjmuje prędkość od %1 do %2 dla %3</source>
        <translation>--baud takes a rate from %1 to %2 for the %3</translation>
    </message>
    <message>
        <source>--plot%1 przyjmuje off lub kanał 1..%2</source>
        <translation>--plot%1 takes off or a channel 1..%2</translation>
    </message>
    <message>
        <source>nie ma czego pobrać: oba wykresy są wyłączone</source>
        <translation>nothing to fetch: both plots are off</translation>
    </message>
    <message>
        <source>--plot przyjmuje 1 lub 2</source>
        <translation>--plot takes 1 or 2</translation>
    </message>
    <message>
        <source>%1: nieznany rodzaj pliku (czytane: %2)</source>
        <translation>%1: unknown kind of file (readable: %2)</translation>
    </message>
    <message>
        <source>--channel dotyczy tylko sesji sigrok (.sr)</source>
        <translation>--channel applies to sigrok sessions (.sr) only</translation>
    </message>
    <message>
        <source>nieznany format %1 (formaty: %2)</source>
        <translation>unknown format %1 (formats: %2)</translation>
    </message>
    <message>
        <source>%1: nieznany rodzaj pliku; podaj --format albo rozszerzenie %2</source>
        <translation>%1: unknown kind of file; give --format or the extension %2</translation>
    </message>
    <message>
        <source>nie można zapisać %1</source>
        <translation>cannot save %1</translation>
    </message>
    <message>
        <source>dostęp</source>
        <translation>access</translation>
    </message>
    <message>
        <source>brak dostępu</source>
        <translation>no access</translation>
    </message>
    <message>
        <source>tryb wyświetlania zamiast zapisanego w dokumencie: original, derivative, integral, xy, sum, product lub fourier</source>
        <translation>display mode instead of the one stored in the document: original, derivative, integral, xy, sum, product or fourier</translation>
    </message>
    <message>
        <source>pozycje kursorów 0..4000 zamiast zapisanych w dokumencie; wyznaczają zakres analizy Fouriera, średniej i RMS</source>
        <translation>cursor positions 0..4000 instead of those stored in the document; they set the span of the Fourier analysis and of the mean and RMS</translation>
    </message>
    <message>
        <source>zaczyna od kopii tego dokumentu (pozostałe wykresy, ustawienia i widok zostają) zamiast od pustego; DOKUMENT.kiv się nie zmienia</source>
        <translation>start from a copy of this document (the other plot, the settings and the view are kept) instead of an empty one; DOCUMENT.kiv itself is not changed</translation>
    </message>
    <message>
        <source>DOKUMENT.kiv</source>
        <translation>DOCUMENT.kiv</translation>
    </message>
    <message>
        <source>TRYB</source>
        <translation>MODE</translation>
    </message>
    <message>
        <source>K1,K2</source>
        <translation>C1,C2</translation>
    </message>
    <message>
        <source>SZERxWYS</source>
        <translation>WxH</translation>
    </message>
    <message>
        <source>W</source>
        <translation>PLOT</translation>
    </message>
    <message>
        <source>MODEL</source>
        <translation>MODEL</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>PRĘDKOŚĆ</source>
        <translation>BAUD</translation>
    </message>
    <message>
        <source>instrument zamiast zapisanego w Kiv.cfg: %1</source>
        <translation>oscilloscope instead of the one stored in Kiv.cfg: %1</translation>
    </message>
    <message>
        <source>port COMn, 1..255</source>
        <translation>COMn port, 1..255</translation>
    </message>
    <message>
        <source>prędkość, jedna z oferowanych przez model</source>
        <translation>baud rate, one of those the model offers</translation>
    </message>
    <message>
        <source>opis dokumentu w JSON</source>
        <translation>describe the document in JSON</translation>
    </message>
    <message>
        <source>Wypisuje opis dokumentu w JSON: tryb, kursory, flagi widoku, maski wykresów obecnych (present) i włączonych (enabled) oraz dla każdego obecnego wykresu kolor, skale czasu i amplitudy (wykładnik potęgi 1000, jednostka, krok), odwrócenie, przesunięcie i mnożnik. Liczba, która nie jest skończona, jest zapisana jako null.</source>
        <translation>Prints a description of the document in JSON: the mode, the cursors, the view flags, the masks of the plots present (present) and shown (enabled), and for each plot present its color, time and amplitude scales (exponent of a power of 1000, unit, step), inversion, offset and multiplier. A number that is not finite is written as null.</translation>
    </message>
    <message>
        <source>próbki obu wykresów, po jednej w wierszu</source>
        <translation>print both plots&apos; samples, one per line</translation>
    </message>
    <message>
        <source>Wypisuje próbki, po jednej w wierszu: numer, wykres 1 i wykres 2, oddzielone tabulatorem (kody 0..200, 100 to linia zera).</source>
        <translation>Prints the samples, one per line: index, plot 1 and plot 2, separated by tabs (codes 0..200, 100 is the zero line).</translation>
    </message>
    <message>
        <source>CO</source>
        <translation>WHAT</translation>
    </message>
    <message>
        <source>które próbki: raw (zapisane w dokumencie), shown (po ustawieniach wykresów, na wspólnej podstawie czasu), calc (rekord obliczony przez tryb), disp (wyświetlane: okno powiększenia na 4000 punktach; domyślnie) albo harm (50 słupków harmonicznych trybu fourier)</source>
        <translation>which samples: raw (as stored in the document), shown (after the plot settings, on a common time base), calc (the record the mode calculates), disp (as displayed: the zoom window over 4000 points; the default) or harm (the 50 harmonic bars of the fourier mode)</translation>
    </message>
    <message>
        <source>etykiety siatki</source>
        <translation>print the grid labels</translation>
    </message>
    <message>
        <source>Wypisuje etykiety siatki tak, jak widok je rysuje: cztery wiersze (oś pozioma, oś Y1 dwa razy, oś Y2), etykiety jednej osi oddzielone znakiem |.</source>
        <translation>Prints the grid labels as the window draws them: four lines (the horizontal axis, the Y1 axis twice, the Y2 axis), the labels of one axis separated by |.</translation>
    </message>
    <message>
        <source>DOKUMENT.kiv OBRAZ.png</source>
        <translation>DOCUMENT.kiv PICTURE.png</translation>
    </message>
    <message>
        <source>obraz wykresu jako PNG</source>
        <translation>draw the plot into a PNG picture</translation>
    </message>
    <message>
        <source>Rysuje wykres tak, jak okno dokumentu, i zapisuje go jako PNG.</source>
        <translation>Draws the plot as the document window does and saves it as a PNG picture.</translation>
    </message>
    <message>
        <source>białe tło, także gdy dokument zapisał czarne</source>
        <translation>draw on a white background, even when the document has a black one</translation>
    </message>
    <message>
        <source>DOKUMENT.kiv WYJŚCIE</source>
        <translation>DOCUMENT.kiv OUTPUT</translation>
    </message>
    <message>
        <source>eksport jak polecenie Eksportuj</source>
        <translation>export like the Export command</translation>
    </message>
    <message>
        <source>Zapisuje plik eksportu jak polecenie programu: spreadsheet (.csv, arkusz, w trybie fourier tabela harmonicznych), tek (.CSV, Tektronix 460A), pcx (.pcx, obraz 800x600), harmonics (tabela harmonicznych trybu fourier), sr (sesja sigrok dla PulseView i sigrok-cli: kanały CH1 i CH2 w jednostkach fizycznych; w trybie fourier przebiegi trybu original), png (obraz w pełnym kolorze), svg (grafika wektorowa) lub pdf (strona A4 w poziomie jak wydruk). Bez --format formę wybiera rozszerzenie nazwy (wielkość liter ma znaczenie).</source>
        <translation>Writes an export file as the program&apos;s Export command does: spreadsheet (.csv, a spreadsheet; in the fourier mode the harmonics table), tek (.CSV, Tektronix 460A), pcx (.pcx, an 800x600 picture), harmonics (the harmonics table of the fourier mode), sr (a sigrok session for PulseView and sigrok-cli: channels CH1 and CH2 in physical units; in the fourier mode the waveforms of the original mode), png (a full-color picture), svg (vector graphics) or pdf (a landscape A4 page like the printout). Without --format the extension of the file name chooses the format (case matters).</translation>
    </message>
    <message>
        <source>FORMA</source>
        <translation>FORMAT</translation>
    </message>
    <message>
        <source>forma pliku: spreadsheet, tek, pcx, harmonics, sr, png, svg lub pdf</source>
        <translation>file format: spreadsheet, tek, pcx, harmonics, sr, png, svg or pdf</translation>
    </message>
    <message>
        <source>białe tło obrazu png i svg, także gdy dokument zapisał czarne</source>
        <translation>draw png and svg pictures on a white background, even when the document has a black one</translation>
    </message>
    <message>
        <source>WYJŚCIE.kiv</source>
        <translation>OUTPUT.kiv</translation>
    </message>
    <message>
        <source>sygnał testowy jak Generator sygnałów</source>
        <translation>make a test signal like the Signal Generator</translation>
    </message>
    <message>
        <source>Tworzy sygnał testowy jak okno &quot;Generator sygnałów&quot; (te same zakresy i sprawdzenia) i zapisuje dokument.</source>
        <translation>Makes a test signal as the &quot;Signal Generator&quot; window does (with the same ranges and checks) and saves the document.</translation>
    </message>
    <message>
        <source>RODZAJ</source>
        <translation>KIND</translation>
    </message>
    <message>
        <source>const (stała), sine (sinus) lub square (prostokąt); wymagana</source>
        <translation>const (DC), sine or square; required</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>amplituda (wartość stałej) w woltach, -1e6..1e6; domyślnie 1</source>
        <translation>amplitude (the DC value) in volts, -1e6..1e6; default 1</translation>
    </message>
    <message>
        <source>D</source>
        <translation>D</translation>
    </message>
    <message>
        <source>czas całego zapisu w sekundach, 1e-11..10000; domyślnie 1</source>
        <translation>duration of the whole record in seconds, 1e-11..10000; default 1</translation>
    </message>
    <message>
        <source>F</source>
        <translation>PH</translation>
    </message>
    <message>
        <source>faza początkowa w sekundach, 0..9999.9999, mniejsza od D; domyślnie 0</source>
        <translation>start phase in seconds, 0..9999.9999, less than D; default 0</translation>
    </message>
    <message>
        <source>T</source>
        <translation>T</translation>
    </message>
    <message>
        <source>okres w sekundach, 1e-10..10000; domyślnie 1</source>
        <translation>period in seconds, 1e-10..10000; default 1</translation>
    </message>
    <message>
        <source>wykres docelowy: 1, 2 lub 3 (oba); domyślnie 3</source>
        <translation>target plot: 1, 2 or 3 (both); default 3</translation>
    </message>
    <message>
        <source>WEJŚCIE WYJŚCIE.kiv</source>
        <translation>INPUT OUTPUT.kiv</translation>
    </message>
    <message>
        <source>import pliku DSO, Tektronix CSV lub sesji sigrok</source>
        <translation>import a DSO file, a Tektronix CSV file or a sigrok session</translation>
    </message>
    <message>
        <source>Wczytuje plik DSO (.DSO, .dso), Tektronix 460A CSV (.CSV, .csv) lub sesję sigrok (.sr) do jednego wykresu, jak polecenie Importuj, i zapisuje dokument. Z sesji sigrok: pierwszy kanał analogowy (albo --channel), 4000 próbek wybranych równo z całego zapisu.</source>
        <translation>Reads a DSO file (.DSO, .dso), a Tektronix 460A CSV file (.CSV, .csv) or a sigrok session (.sr) into one plot, like the Import command, and saves the document. From a sigrok session: the first analog channel (or --channel), 4000 samples picked evenly from the whole capture.</translation>
    </message>
    <message>
        <source>wykres docelowy: 1 lub 2; wymagana</source>
        <translation>target plot: 1 or 2; required</translation>
    </message>
    <message>
        <source>NAZWA</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>kanał analogowy sesji sigrok zamiast pierwszego</source>
        <translation>analog channel of the sigrok session instead of the first one</translation>
    </message>
    <message>
        <source>średnia i RMS między kursorami</source>
        <translation>print the rectified mean and RMS between the cursors</translation>
    </message>
    <message>
        <source>Wypisuje wartości okna &quot;Wartość średnia i skuteczna przebiegów&quot;: średnią, potem RMS (dla dwóch wykresów kolejno Y1 i Y2), po jednej w wierszu.</source>
        <translation>Prints the values of the &quot;Mean and RMS&quot; window: the rectified mean, then the RMS (for two plots Y1, then Y2), one per line.</translation>
    </message>
    <message>
        <source>pomiary automatyczne jak panel Pomiary</source>
        <translation>print the automatic measurements like the Measurements panel</translation>
    </message>
    <message>
        <source>pobranie przebiegów z oscyloskopu</source>
        <translation>fetch the waveforms from the oscilloscope</translation>
    </message>
    <message>
        <source>KANAŁ</source>
        <translation>CHANNEL</translation>
    </message>
    <message>
        <source>kanał wykresu 1 albo off (wykres 1 nie jest pobierany)</source>
        <translation>channel for plot 1, or off (plot 1 is not fetched)</translation>
    </message>
    <message>
        <source>kanał wykresu 2 albo off</source>
        <translation>channel for plot 2, or off</translation>
    </message>
    <message>
        <source>zapisuje ustawienia tego pobrania w Kiv.cfg</source>
        <translation>save the settings of this fetch in Kiv.cfg</translation>
    </message>
    <message>
        <source>sprawdzenie połączenia z oscyloskopem</source>
        <translation>test the connection to the oscilloscope</translation>
    </message>
    <message>
        <source>Sprawdza połączenie jak przycisk &quot;Sprawdź połączenie&quot; w oknie &quot;Parametry transmisji&quot;: otwiera port z ustawieniami linii modelu, wysyła tylko pierwsze zapytanie modelu, sprawdza odpowiedź tak jak przy pobieraniu, oddaje przyrząd tak jak po pobraniu i wypisuje w jednym wierszu, co zaszło: przyrząd odpowiedział jako wybrany model, odpowiedział czymś innym (pierwsze bajty), milczał albo portu nie dało się otworzyć (i dlaczego). Trwa nie dłużej niż czas oczekiwania na tę odpowiedź. Ustawienia jak w fetch (Kiv.cfg z bieżącego katalogu, zmienione opcjami); niczego nie zapisuje. Status 0 tylko wtedy, gdy odpowiedział wybrany model.</source>
        <translation>Tests the connection like the &quot;Test Connection&quot; button of the &quot;Connection Settings&quot; window: opens the port with the model&apos;s line settings, sends only the model&apos;s first query, checks the reply as a fetch does, releases the oscilloscope as a fetch does, and prints on one line what happened: the oscilloscope answered as the chosen model, answered something else (its first bytes), stayed silent, or the port would not open (and why). Takes no longer than the wait for that reply. The settings are those of fetch (Kiv.cfg from the current directory, changed by the options); writes nothing. Exit status 0 only when the chosen model answered.</translation>
    </message>
    <message>
        <source>nie można wczytać modułu form plików: %1</source>
        <translation>cannot load the file formats module: %1</translation>
    </message>
    <message>
        <source>słowa do uzupełniania w powłoce</source>
        <translation>words for the shell&apos;s completion</translation>
    </message>
    <message>
        <source>kivtool POLECENIE --help albo kivtool help POLECENIE opisuje polecenie
i każdą jego opcję. Wyniki idą na stdout, każde niepowodzenie to jeden wiersz
„kivtool: …” na stderr. Status wyjścia: 0 powodzenie, 1 niepowodzenie,
2 błędne wywołanie.</source>
        <translation>kivtool COMMAND --help or kivtool help COMMAND describes the command and each
of its options. Results go to stdout; every failure is one line &quot;kivtool: ...&quot;
on stderr. Exit status: 0 success, 1 failure, 2 wrong usage.</translation>
    </message>
    <message>
        <source>ADRES</source>
        <translation>ADDRESS</translation>
    </message>
    <message>
        <source>--repeat przyjmuje liczbę pobrań 1..%1</source>
        <translation>--repeat takes a number of fetches 1..%1</translation>
    </message>
    <message>
        <source>--interval działa tylko z --repeat</source>
        <translation>--interval works only with --repeat</translation>
    </message>
    <message>
        <source>--interval przyjmuje milisekundy 0..%1</source>
        <translation>--interval takes milliseconds 0..%1</translation>
    </message>
    <message>
        <source>--size przyjmuje SZERxWYS, dwie dodatnie liczby całkowite, nie %1</source>
        <translation>--size takes WxH, two positive integers, not %1</translation>
    </message>
    <message>
        <source>rozmiar %1 zmieniony na %2 (najmniej %3, każdy bok najwyżej %4)</source>
        <translation>size %1 changed to %2 (at least %3, each side at most %4)</translation>
    </message>
    <message>
        <source>rozmiar obrazu w pikselach (domyślnie 800x600); mniejszy niż 400x200 jest zwiększany, bok ponad 10000 zmniejszany, z uwagą na stderr</source>
        <translation>picture size in pixels (default 800x600); a size below 400x200 is raised, a side above 10000 lowered, with a note on stderr</translation>
    </message>
    <message>
        <source>rozmiar obrazu png i svg w pikselach (domyślnie 800x600); mniejszy niż 400x200 jest zwiększany, bok ponad 10000 zmniejszany, z uwagą na stderr</source>
        <translation>size of the png and svg picture in pixels (default 800x600); a size below 400x200 is raised, a side above 10000 lowered, with a note on stderr</translation>
    </message>
    <message>
        <source>Pobiera przebiegi z oscyloskopu jak polecenie &quot;Otwórz wykres&quot; i zapisuje dokument. Ustawienia (model, prędkość, port, wykresy i kanały) są brane z pliku Kiv.cfg w bieżącym katalogu, a bez niego domyślne: HAMEG 1507 na COM2, 9600 bodów, wykres 1 z kanału 1, wykres 2 z kanału 2. Opcje je zmieniają tylko na to pobranie. Port COMn to urządzenie ze zmiennej środowiska KIV_COMn, bez niej urządzenie wybrane dla COMn w programie, a bez wyboru /dev/ttyS&lt;n-1&gt;. Na terminalu pasek postępu idzie na stderr. Niepowodzenie to jeden wiersz na stderr z tym, co powiedział przyrząd.</source>
        <translation>Fetches the waveforms from the oscilloscope like the &quot;Fetch Waveforms&quot; command and saves the document. The settings (model, baud rate, port, plots and channels) come from Kiv.cfg in the current directory, or without it are the defaults: HAMEG 1507 on COM2, 9600 baud, plot 1 from channel 1, plot 2 from channel 2. The options change them for this fetch only. Port COMn is the device the environment variable KIV_COMn names, else the device chosen for COMn in the program, else /dev/ttyS&lt;n-1&gt;. On a terminal the progress bar goes to stderr. A failure is one line on stderr with what the oscilloscope said.</translation>
    </message>
    <message>
        <source>N pobrań, każde do osobnego dokumentu: WYJŚCIE-0001.kiv, WYJŚCIE-0002.kiv i dalej (więcej cyfr, gdy N &gt; 9999); połączenie z przyrządem SCPI trwa przez wszystkie pobrania; niepowodzenie kończy serię, zapisane dokumenty zostają</source>
        <translation>N fetches, each into a document of its own: OUTPUT-0001.kiv, OUTPUT-0002.kiv and on (more digits when N &gt; 9999); the connection to an SCPI instrument lasts through all of them; a failure ends the run, the documents written stay</translation>
    </message>
    <message>
        <source>MS</source>
        <translation>MS</translation>
    </message>
    <message>
        <source>co najmniej MS milisekund od początku jednego pobrania do początku następnego (domyślnie 0); tylko z --repeat</source>
        <translation>at least MS milliseconds from the start of one fetch to the start of the next (default 0); only with --repeat</translation>
    </message>
    <message>
        <source>OBRAZ.png</source>
        <translation>PICTURE.png</translation>
    </message>
    <message>
        <source>obraz ekranu oscyloskopu jako PNG</source>
        <translation>save the oscilloscope&apos;s screen as PNG</translation>
    </message>
    <message>
        <source>Pobiera obraz ekranu oscyloskopu SCPI, który go wysyła (--model auto wybiera rodzinę według *IDN?), i zapisuje go jako PNG: PNG przyrządu bajt w bajt, inną formę (BMP) przekształconą do PNG. Istniejący plik jest zastępowany w całości albo wcale. Ustawienia jak w fetch (Kiv.cfg z bieżącego katalogu, zmienione opcjami).</source>
        <translation>Fetches the picture of the screen of an SCPI oscilloscope that sends one (--model auto picks the family by *IDN?) and saves it as PNG: the instrument&apos;s PNG byte for byte, another form (BMP) converted to PNG. An existing file is replaced whole or not at all. The settings are those of fetch (Kiv.cfg in the working directory, changed by the options).</translation>
    </message>
    <message>
        <source>porty szeregowe i przyrządy USBTMC komputera</source>
        <translation>list the computer&apos;s serial ports and USBTMC instruments</translation>
    </message>
    <message>
        <source>Wypisuje porty szeregowe i przyrządy USBTMC komputera tak, jak lista &quot;Urządzenie&quot; w oknie &quot;Parametry transmisji&quot;: /dev/ttyUSB*, /dev/ttyACM*, /dev/rfcomm*, /dev/ttyS* z układem UART i /dev/usbtmc*. Jedno urządzenie w wierszu, pola oddzielone tabulatorem: ścieżka, stała nazwa w /dev/serial/by-id (- gdy jej nie ma), urządzenie USB (producent, produkt, numer seryjny i identyfikator USB; - gdy nic o nim nie wiadomo) i czy ten użytkownik może je otworzyć. Gdy przyrządu USBTMC otworzyć nie może, stderr podaje regułę udev, która daje dostęp.</source>
        <translation>Prints the computer&apos;s serial ports and USBTMC instruments as the &quot;Device&quot; list of the &quot;Connection Settings&quot; window shows them: /dev/ttyUSB*, /dev/ttyACM*, /dev/rfcomm*, /dev/ttyS* with a UART and /dev/usbtmc*. One device per line, fields separated by tabs: path, stable name in /dev/serial/by-id (- when there is none), USB device (manufacturer, product, serial number and USB id; - when nothing is known of it) and whether this user may open it. When this user may not open a USBTMC instrument, stderr gives the udev rule that grants access.</translation>
    </message>
    <message>
        <source>lista w JSON: tablica obiektów z polami path, by_id, kind (serial albo usbtmc), description, manufacturer, product, serial, usb, usb_id i accessible (null, gdy pola nie ma)</source>
        <translation>print the list in JSON: an array of objects with the fields path, by_id, kind (serial or usbtmc), description, manufacturer, product, serial, usb, usb_id and accessible (null where a field is missing)</translation>
    </message>
    <message>
        <source>brak polecenia (kivtool --help je wymienia)</source>
        <translation>no command given (kivtool --help lists them)</translation>
    </message>
    <message>
        <source>nieoczekiwany argument %1</source>
        <translation>unexpected argument %1</translation>
    </message>
    <message>
        <source>complete przyjmuje commands, options, models, channels, modes, formats lub devices, nie %1</source>
        <translation>complete takes commands, options, models, channels, modes, formats or devices, not %1</translation>
    </message>
    <message>
        <source>port szeregowy (np. /dev/ttyUSB0 albo nazwa z /dev/serial/by-id), przyrząd sieciowy (tcp://HOST[:PORT] albo HOST:PORT; bez portu ten, na którym słucha rodzina przyrządu) albo przyrząd USBTMC (/dev/usbtmcN) zamiast urządzenia, które oznacza numer COM; wyklucza --port</source>
        <translation>a serial port (e.g. /dev/ttyUSB0 or a name in /dev/serial/by-id), a network instrument (tcp://HOST[:PORT] or HOST:PORT; without a port, the one the instrument&apos;s family listens on) or a USBTMC instrument (/dev/usbtmcN) instead of the device the COM number stands for; excludes --port</translation>
    </message>
    <message>
        <source>CO [POLECENIE]</source>
        <translation>WHAT [COMMAND]</translation>
    </message>
    <message>
        <source>Wypisuje, po jednym w wierszu, słowa, które uzupełnia powłoka: commands (polecenia), options POLECENIE (opcje polecenia; po opcji z wartością tabulator i nazwa wartości), models (numery i klucze modeli, auto), channels (kanały i off), modes (tryby), formats (formy eksportu) albo devices (urządzenia z polecenia ports: ścieżki i stałe nazwy).</source>
        <translation>Prints, one per line, the words the shell completes: commands, options COMMAND (the command&apos;s options; after an option that takes a value, a tab and the value&apos;s name), models (model numbers and keys, auto), channels (channels and off), modes, formats (export forms) or devices (the devices of the ports command: paths and stable names).</translation>
    </message>
    <message>
        <source>nieznany pomiar %1 (pomiary: %2)</source>
        <translation>unknown measurement %1 (measurements: %2)</translation>
    </message>
    <message>
        <source>kilka dokumentów mierzy tylko --stats</source>
        <translation>only --stats measures several documents</translation>
    </message>
    <message>
        <source>DOKUMENT.kiv...</source>
        <translation>DOCUMENT.kiv...</translation>
    </message>
    <message>
        <source>Wypisuje pomiary automatyczne krzywych, które pokazuje tryb, jak panel &quot;Pomiary&quot;: wszystkie albo te, które wymienia --only; w trybie fourier tylko pomiary widma, w trybie xy nic. Definicje podaje strona podręcznika kivtool(1). Zakres: między kursorami, gdy dokument je pokazuje albo podano --cursors, inaczej to, co pokazuje okno (powiększenie), a bez powiększenia cały zapis; w trybie fourier zakres widma. Każdy wykres jest mierzony na własnych próbkach. Bez --json tabela wyrównana spacjami, wartość nieokreślona to —. Z --stats każdy dokument to jeden zapis, a wynik to statystyki wszystkich.</source>
        <translation>Prints the automatic measurements of the curves the mode shows, like the &quot;Measurements&quot; panel: all of them or those --only names; in the fourier mode only the spectrum measurements, in the xy mode nothing. The kivtool(1) manual page defines them. Range: between the cursors when the document shows them or --cursors is given, otherwise what the window shows (the zoom), and without a zoom the whole record; in the fourier mode the range of the spectrum. Each plot is measured over its own samples. Without --json a table aligned with spaces; an undefined value is —. With --stats each document is one record and the result is the statistics of them all.</translation>
    </message>
    <message>
        <source>KLUCZE</source>
        <translation>KEYS</translation>
    </message>
    <message>
        <source>tylko te pomiary, klucze oddzielone przecinkami, np. period,rise,thd</source>
        <translation>only these measurements, keys separated by commas, e.g. period,rise,thd</translation>
    </message>
    <message>
        <source>statystyki po wszystkich dokumentach (każdy to jeden zapis): bieżąca (ostatniego dokumentu), średnia, minimum, maksimum, odchylenie standardowe i liczba zapisów, w których pomiar był określony; w trybie ostatniego dokumentu, więc przy różnych trybach warto podać --mode</source>
        <translation>statistics over all the documents (each is one record): current (of the last document), mean, minimum, maximum, standard deviation and the number of records in which the measurement was defined; in the last document&apos;s mode, so give --mode when the modes differ</translation>
    </message>
    <message>
        <source>wynik w JSON: mode, span [początek, koniec), plot1 i plot2 (obiekt pomiarów w sekundach, hercach, jednostkach osi, procentach i stopniach albo null), between (opóźnienie i faza wykresu 2 względem 1 albo null), amplitude_units; wartość nieokreślona to null. Z --stats każdy pomiar to obiekt current, mean, min, max, sd, n, a records to liczba dokumentów</source>
        <translation>result in JSON: mode, span [start, end), plot1 and plot2 (an object of measurements in seconds, hertz, axis units, percent and degrees, or null), between (delay and phase of plot 2 against plot 1, or null), amplitude_units; an undefined value is null. With --stats each measurement is an object current, mean, min, max, sd, n, and records is the number of documents</translation>
    </message>
</context>
</TS>
