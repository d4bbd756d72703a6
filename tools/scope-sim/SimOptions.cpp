// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimOptions.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "SimModel.h"
#include "SimText.h"
#include "units/NumberText.h"

namespace {

// The options the parser knows and --help explains; value is empty for a switch. "ch"
// stands for --ch1 to --ch4.
struct OptionSpec {
    const char* name;
    const char* value;
    const char* help;
};

constexpr OptionSpec kOptions[] = {
    {"model", KIV_TR_NOOP("kiv-scope-sim", "MODEL"),
     KIV_TR_NOOP("kiv-scope-sim", "udawany przyrząd, jeden z modeli powyżej albo jego numer w Kiv.cfg (wymagana)")},
    {"link", KIV_TR_NOOP("kiv-scope-sim", "ŚCIEŻKA"),
     KIV_TR_NOOP("kiv-scope-sim", "dowiązanie symboliczne ŚCIEŻKA do pseudoterminala; zastępuje dawne o tej "
                                  "nazwie; bez tej opcji ścieżkę pseudoterminala wypisuje na standardowe wyjście")},
    {"ch", KIV_TR_NOOP("kiv-scope-sim", "KSZTAŁT"),
     KIV_TR_NOOP("kiv-scope-sim", "kształt sygnału kanału: sine, square, triangle albo dc (domyślnie kolejno sine, "
                                  "square, triangle, dc); każdy zaczyna okres w chwili wyzwolenia")},
    {"vdiv", "V", KIV_TR_NOOP("kiv-scope-sim", "wolty na działkę ekranu, liczba > 0 (domyślnie 0.5)")},
    {"tdiv", "S", KIV_TR_NOOP("kiv-scope-sim", "sekundy na działkę ekranu, liczba > 0 (domyślnie 0.0005)")},
    {"amp", "V", KIV_TR_NOOP("kiv-scope-sim", "amplituda szczytowa sygnałów w woltach, liczba > 0; dc leży na +V "
                                              "(domyślnie 1)")},
    {"freq", "HZ", KIV_TR_NOOP("kiv-scope-sim", "częstotliwość sygnałów w Hz, liczba > 0 (domyślnie 1000)")},
    {"baud", KIV_TR_NOOP("kiv-scope-sim", "SZYBKOŚĆ"),
     KIV_TR_NOOP("kiv-scope-sim", "szybkość linii w bit/s dla --baud-delay, liczba całkowita (domyślnie 9600)")},
    {"baud-delay", "",
     KIV_TR_NOOP("kiv-scope-sim", "odpowiedzi płyną w tempie linii: znak to bit startu oraz bity danych, "
                                  "parzystości i stopu modelu")},
    {"fault", KIV_TR_NOOP("kiv-scope-sim", "USTERKA"),
     KIV_TR_NOOP("kiv-scope-sim", "udawana usterka, jedna z wymienionych niżej")},
    {"seed", "S", KIV_TR_NOOP("kiv-scope-sim", "ziarno szumu noise:P, od 0 do 4294967295 (domyślnie 1); to samo "
                                               "ziarno daje ten sam szum")},
    {"log", KIV_TR_NOOP("kiv-scope-sim", "PLIK"),
     KIV_TR_NOOP("kiv-scope-sim", "dopisuje do PLIKU każde zapytanie w całości, jedno w wierszu")},
    {"once", "", KIV_TR_NOOP("kiv-scope-sim", "kończy pracę, gdy druga strona pierwszy raz zamknie port")},
    {"listen", "HOST:PORT",
     KIV_TR_NOOP("kiv-scope-sim", "przyrząd SCPI przyjmuje połączenia TCP na HOST:PORT zamiast pseudoterminala; "
                                  "port 0 wybiera wolny i wypisuje go")},
    {"stopped", "", KIV_TR_NOOP("kiv-scope-sim", "przyrząd SCPI jest zatrzymany (domyślnie pracuje)")},
    {"offset", "S", KIV_TR_NOOP("kiv-scope-sim", "przesunięcie poziome ekranu przyrządu SCPI: środek ekranu "
                                                 "S sekund po wyzwoleniu (domyślnie 0)")},
    {"off", "N", KIV_TR_NOOP("kiv-scope-sim", "kanał N przyrządu SCPI jest wyłączony; można powtórzyć")},
    {"version", "", KIV_TR_NOOP("kiv-scope-sim", "wypisuje wersję i kończy pracę")},
    {"help", "", KIV_TR_NOOP("kiv-scope-sim", "ten opis")},
};

// What --help says of the faults, under their headings (an entry without a name).
constexpr OptionSpec kFaultHelp[] = {
    {nullptr, nullptr, KIV_TR_NOOP("kiv-scope-sim", "Usterki odpowiedzi modelu:")},
    {"short", nullptr, KIV_TR_NOOP("kiv-scope-sim", "przebieg krótszy o 100 punktów")},
    {"garbage", nullptr,
     KIV_TR_NOOP("kiv-scope-sim", "szum zamiast identyfikacji lub potwierdzenia (LT224: w cyfrach przebiegu)")},
    {"wrong-id", nullptr, KIV_TR_NOOP("kiv-scope-sim", "inny przyrząd tej samej rodziny")},
    {nullptr, nullptr, KIV_TR_NOOP("kiv-scope-sim", "Usterki linii, dla wszystkiego, co model wysyła:")},
    {"silent", nullptr, KIV_TR_NOOP("kiv-scope-sim", "żadnej odpowiedzi")},
    {"hangup", nullptr,
     KIV_TR_NOOP("kiv-scope-sim", "linia zrywa się w połowie pierwszej długiej odpowiedzi (przebiegu), gdy druga "
                                  "strona odczyta to, co przyszło wcześniej")},
    {"drop:N", nullptr, KIV_TR_NOOP("kiv-scope-sim", "ginie co N-ty wysłany bajt (N >= 1)")},
    {"noise:P", nullptr,
     KIV_TR_NOOP("kiv-scope-sim", "w każdym wysłanym bajcie z prawdopodobieństwem P (0..1) jeden losowy bit jest "
                                  "odwrócony; --seed S powtarza przebieg")},
    {"stall:MS", nullptr, KIV_TR_NOOP("kiv-scope-sim", "przerwa MS milisekund w połowie każdej długiej odpowiedzi")},
    {"hangup-mid", nullptr,
     KIV_TR_NOOP("kiv-scope-sim", "pseudoterminal zamyka się w połowie pierwszej długiej odpowiedzi, gdy druga "
                                  "strona wciąż czyta; reszta przepada")},
    {nullptr, nullptr, KIV_TR_NOOP("kiv-scope-sim", "Usterki przyrządów SCPI:")},
    {"no-lf", nullptr, KIV_TR_NOOP("kiv-scope-sim", "blok danych bez LF na końcu (Rigol)")},
    {"short-after-run", nullptr, KIV_TR_NOOP("kiv-scope-sim", "pierwszy blok po :RUN krótszy niż zapis (Rigol)")},
    {"silent-wf", nullptr, KIV_TR_NOOP("kiv-scope-sim", "pierwsze WF? bez odpowiedzi (Siglent)")},
    {"plus-zero", nullptr, KIV_TR_NOOP("kiv-scope-sim", "\"+0\" na pierwsze :WAV:PRE? (Keysight)")},
    {"slow-first:MS", nullptr,
     KIV_TR_NOOP("kiv-scope-sim", "pierwsza odpowiedź po połączeniu spóźniona o MS milisekund (Keysight)")},
    {"slow-wfmpre", nullptr, KIV_TR_NOOP("kiv-scope-sim", "WFMPre? z odpowiedzią po sekundzie (Tektronix)")},
    {"dribble", nullptr, KIV_TR_NOOP("kiv-scope-sim", "odpowiedzi po kilka bajtów")},
    {"long-block", nullptr, KIV_TR_NOOP("kiv-scope-sim", "blok dłuższy, niż mówi jego nagłówek")},
    {"short-block", nullptr, KIV_TR_NOOP("kiv-scope-sim", "blok krótszy, niż mówi jego nagłówek, potem cisza")},
    {"bad-header", nullptr, KIV_TR_NOOP("kiv-scope-sim", "nagłówek bloku z mniejszą liczbą cyfr, niż zapowiada")},
    {"reset", nullptr,
     KIV_TR_NOOP("kiv-scope-sim", "połączenie zerwane (RST) w połowie pierwszej długiej odpowiedzi")},
};

constexpr size_t kHelpWidth = 79;

// Characters on a terminal, not bytes: the texts may be Polish.
size_t Columns(const std::string& s) {
    size_t n = 0;
    for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// "  head" and the text from column indent on, broken between words within the width; a head
// that reaches the column puts the text on the next line.
std::string HelpEntry(const std::string& head, const std::string& text, size_t indent) {
    std::string out = "  " + head;
    out += Columns(out) + 2 > indent ? "\n" + std::string(indent, ' ') : std::string(indent - Columns(out), ' ');
    size_t column = indent, start = 0;
    bool first = true;
    while (start < text.size()) {
        const size_t end = std::min(text.find(' ', start), text.size());
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) continue;
        if (!first && column + 1 + Columns(word) > kHelpWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (!first) {
            out += ' ';
            ++column;
        }
        out += word;
        column += Columns(word);
        first = false;
    }
    return out + "\n";
}

// The same for a paragraph from the first column.
std::string Paragraph(const std::string& text) {
    std::string out, line;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find(' ', start), text.size());
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && Columns(line) + 1 + Columns(word) > kHelpWidth) out += line + "\n", line.clear();
        line += (line.empty() ? "" : " ") + word;
    }
    return out + line + "\n";
}

// The names an entry stands for, each an option of its own; "-h" is "--help".
QStringList OptionNames(const OptionSpec& o) {
    if (std::strcmp(o.name, "ch") != 0) return {o.name};
    QStringList names;
    for (int n = 1; n <= kSimChannels; ++n) names << "ch" + QString::number(n);
    return names;
}

const OptionSpec* FindOption(const QString& name) {
    for (const OptionSpec& o : kOptions)
        if (OptionNames(o).contains(name) || (name == "h" && std::strcmp(o.name, "help") == 0)) return &o;
    return nullptr;
}

// Every value the option was given, in order; the last one counts.
std::vector<std::string> Values(const QCommandLineParser& parser, const QString& name) {
    std::vector<std::string> values;
    for (const QString& v : parser.values(name)) values.push_back(v.toStdString());
    return values;
}

bool ReadPositive(const std::string& text, double& value) {
    double v = 0.0;
    if (!ReadNumber(text, v) || !std::isfinite(v) || v <= 0.0) return false;
    value = v;
    return true;
}

bool ReadShape(const std::string& text, EShape& shape) {
    static const struct {
        const char* name;
        EShape shape;
    } kShapes[] = {
        {"sine", EShape::Sine}, {"square", EShape::Square}, {"triangle", EShape::Triangle}, {"dc", EShape::Dc}};
    for (const auto& s : kShapes)
        if (text == s.name) {
            shape = s.shape;
            return true;
        }
    return false;
}

// NAME or NAME:VALUE; on failure error says what the fault takes.
bool ReadFault(const std::string& text, SimOptions& options, std::string& error) {
    static const struct {
        const char* name;
        ESimFault fault;
    } kFaults[] = {{"silent", ESimFault::Silent},   {"short", ESimFault::Short},
                   {"garbage", ESimFault::Garbage}, {"wrong-id", ESimFault::WrongId},
                   {"hangup", ESimFault::Hangup},   {"hangup-mid", ESimFault::HangupMid},
                   {"no-lf", ESimFault::NoTrailer}, {"short-after-run", ESimFault::ShortAfterRun},
                   {"silent-wf", ESimFault::SilentWf}, {"plus-zero", ESimFault::PlusZero},
                   {"slow-wfmpre", ESimFault::SlowPreamble},
                   {"dribble", ESimFault::Dribble}, {"long-block", ESimFault::LongBlock},
                   {"short-block", ESimFault::ShortBlock}, {"bad-header", ESimFault::BadHeader},
                   {"reset", ESimFault::Reset}};
    for (const auto& f : kFaults)
        if (text == f.name) {
            options.fault = f.fault;
            return true;
        }
    const size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    const std::string value = colon == std::string::npos ? "" : text.substr(colon + 1);
    if (name == "drop") {
        options.fault = ESimFault::Drop;
        if (ReadInteger(value, 1, 1LL << 30, options.dropEvery)) return true;
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "--fault drop:N wymaga liczby całkowitej N >= 1, a nie %1"), {text});
    } else if (name == "noise") {
        options.fault = ESimFault::Noise;
        double p = -1.0;
        if (ReadNumber(value, p) && p >= 0.0 && p <= 1.0) {
            options.noiseProbability = p;
            return true;
        }
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "--fault noise:P wymaga prawdopodobieństwa 0 <= P <= 1, a nie %1"),
                        {text});
    } else if (name == "stall") {
        options.fault = ESimFault::Stall;
        if (ReadInteger(value, 0, 24LL * 3600 * 1000, options.stallMs)) return true;
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "--fault stall:MS wymaga całkowitej liczby milisekund MS >= 0, a nie %1"),
                        {text});
    } else if (name == "slow-first") {
        options.fault = ESimFault::SlowFirst;
        if (ReadInteger(value, 0, 24LL * 3600 * 1000, options.slowFirstMs)) return true;
        error = SimText(
            KIV_TR_NOOP("kiv-scope-sim", "--fault slow-first:MS wymaga całkowitej liczby milisekund MS >= 0, a nie %1"),
            {text});
    } else {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "nieznana usterka %1"), {text});
    }
    return false;
}

std::string ModelKeys() {
    std::string keys;
    for (const SimModelInfo& m : SimModels()) keys += (keys.empty() ? "" : ", ") + std::string(m.key);
    return keys;
}

// The parser's own texts are English; its errors are told again here.
std::string ParserError(const QCommandLineParser& parser) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return SimText(KIV_TR_NOOP("kiv-scope-sim", "nieznana opcja %1"),
                       {(name.size() == 1 ? "-" : "--") + name.toStdString()});
    }
    // Otherwise an option lacks its value or a switch was given one; the text quotes it.
    const QString text = parser.errorText();
    const qsizetype open = text.indexOf('\''), close = text.lastIndexOf('\'');
    const QString quoted = open >= 0 && close > open ? text.mid(open + 1, close - open - 1) : text;
    qsizetype dashes = 0;
    while (dashes < quoted.size() && quoted[dashes] == '-') ++dashes;
    const OptionSpec* option = FindOption(quoted.mid(dashes));
    if (option && *option->value) return SimText(KIV_TR_NOOP("kiv-scope-sim", "opcja %1 wymaga wartości"), {quoted.toStdString()});
    return SimText(KIV_TR_NOOP("kiv-scope-sim", "opcja %1 nie przyjmuje wartości"), {quoted.toStdString()});
}

}  // namespace

ESimCommand ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error) {
    QCommandLineParser parser;
    for (const OptionSpec& o : kOptions)
        for (const QString& name : OptionNames(o))
            parser.addOption(QCommandLineOption(name == "help" ? QStringList{"h", "help"} : QStringList{name},
                                                QString::fromUtf8(o.help), QString::fromUtf8(o.value)));
    QStringList list;
    for (const std::string& a : args) list << QString::fromLocal8Bit(a.c_str());
    if (!parser.parse(list)) {
        error = ParserError(parser);
        return ESimCommand::UsageError;
    }
    if (parser.isSet("help")) return ESimCommand::Help;
    if (parser.isSet("version")) return ESimCommand::Version;
    if (!parser.positionalArguments().isEmpty()) {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "nieoczekiwany argument %1"),
                        {parser.positionalArguments().first().toStdString()});
        return ESimCommand::UsageError;
    }
    bool ok = true;
    auto bad = [&](const char* name, const std::string& value) {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "zła wartość opcji --%1: %2"), {name, value});
        ok = false;
    };
    for (const std::string& v : Values(parser, "model")) options.model = v;
    for (const std::string& v : Values(parser, "link")) options.link = v;
    for (const std::string& v : Values(parser, "log")) options.logPath = v;
    for (int n = 1; n <= kSimChannels; ++n) {
        const std::string name = "ch" + std::to_string(n);
        for (const std::string& v : Values(parser, QString::fromStdString(name)))
            if (ok && !ReadShape(v, options.shapes[n - 1])) bad(name.c_str(), v);
    }
    const struct {
        const char* name;
        double& value;
    } numbers[] = {{"vdiv", options.voltsPerDivision},
                   {"tdiv", options.secondsPerDivision},
                   {"amp", options.amplitude},
                   {"freq", options.frequency}};
    for (const auto& n : numbers)
        for (const std::string& v : Values(parser, n.name))
            if (ok && !ReadPositive(v, n.value)) bad(n.name, v);
    for (const std::string& v : Values(parser, "seed"))
        if (ok && !ReadInteger(v, 0, 0xFFFFFFFFLL, options.seed)) bad("seed", v);
    // A whole rate, written as any number ("9600", "9.6e3").
    for (const std::string& v : Values(parser, "baud")) {
        double rate = 0.0;
        if (ok && (!ReadPositive(v, rate) || rate != std::floor(rate) || rate > 4000000.0)) bad("baud", v);
        options.baud = static_cast<int>(rate);
    }
    for (const std::string& v : Values(parser, "fault"))
        if (ok && !ReadFault(v, options, error)) ok = false;
    if (!ok) return ESimCommand::UsageError;
    options.baudDelay = parser.isSet("baud-delay");
    options.once = parser.isSet("once");
    options.stopped = parser.isSet("stopped");
    for (const std::string& v : Values(parser, "listen")) options.listen = v;
    for (const std::string& v : Values(parser, "offset"))
        if (ok && !(ReadNumber(v, options.horizontalOffset) && std::isfinite(options.horizontalOffset))) bad("offset", v);
    for (const std::string& v : Values(parser, "off")) {
        int n = 0;
        if (ok && !ReadInteger(v, 1, kSimChannels, n)) bad("off", v);
        else if (ok) options.channelOff[n - 1] = true;
    }
    if (!ok) return ESimCommand::UsageError;

    if (options.model.empty()) {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "brak opcji --model (jeden z: %1)"), {ModelKeys()});
        return ESimCommand::UsageError;
    }
    // The index Kiv.cfg stores names the model too, so scripts need no list of their own.
    int index = -1;
    if (ReadInteger(options.model, 0, INT_MAX, index))
        if (const SimModelInfo* m = FindSimModel(index)) options.model = m->key;
    if (!FindSimModel(options.model)) {
        error = SimText(KIV_TR_NOOP("kiv-scope-sim", "nieznany model %1 (znane: %2)"), {options.model, ModelKeys()});
        return ESimCommand::UsageError;
    }
    return ESimCommand::Run;
}

std::string SimHelp() {
    std::string text = SimText(KIV_TR_NOOP("kiv-scope-sim", "Użycie: kiv-scope-sim --model MODEL [opcje]")) + "\n" +
                       Paragraph(SimText(KIV_TR_NOOP("kiv-scope-sim",
                           "Udaje oscyloskop na pseudoterminalu, który Kiv otwiera jako port COMn (zmienna "
                           "KIV_COMn), albo przyrząd SCPI na gnieździe TCP (--listen). Pracuje do sygnału "
                           "SIGTERM lub SIGINT."))) +
                       "\n" + SimText(KIV_TR_NOOP("kiv-scope-sim", "Modele:")) + "\n";
    size_t keyWidth = 0;  // the names in one column, after the longest key
    for (const SimModelInfo& m : SimModels()) keyWidth = std::max(keyWidth, std::string(m.key).size());
    for (const SimModelInfo& m : SimModels()) {
        const std::string key = m.key;
        text += "  " + key + std::string(keyWidth + 2 - key.size(), ' ') + m.name + "\n";
    }
    text += "\n" + SimText(KIV_TR_NOOP("kiv-scope-sim", "Opcje:")) + "\n";
    for (const OptionSpec& o : kOptions) {
        const QStringList names = OptionNames(o);
        std::string head = names.size() > 1 ? ("--" + names.first() + "..--" + names.last()).toStdString()
                                            : (names.first() == "help" ? "-h, --help" : "--" + names.first().toStdString());
        if (*o.value) head += ' ' + SimText(o.value);
        text += HelpEntry(head, SimText(o.help), 24);
    }
    text += "\n";
    for (const OptionSpec& f : kFaultHelp)
        text += f.name ? HelpEntry(f.name, SimText(f.help), 16) : SimText(f.help) + "\n";
    return text + "\n" + Paragraph(SimText(KIV_TR_NOOP("kiv-scope-sim",
                                       "Kod wyjścia: 0 po zakończeniu pracy (sygnał, --once, zerwana linia), 1 przy "
                                       "błędzie w trakcie pracy, 2 przy błędnym wywołaniu.")));
}
