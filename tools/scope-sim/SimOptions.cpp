#include "SimOptions.h"

#include <QCommandLineParser>
#include <QStringList>
#include <climits>
#include <cmath>
#include <cstring>

#include "SimModel.h"
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
    {"model", "MODEL", "udawany przyrząd, jeden z modeli powyżej albo jego numer w Kiv.cfg (wymagana)"},
    {"link", "ŚCIEŻKA",
     "dowiązanie symboliczne ŚCIEŻKA do pseudoterminala;\n"
     "zastępuje dawne o tej nazwie; bez tej opcji ścieżkę\n"
     "pseudoterminala wypisuje na standardowe wyjście"},
    {"ch", "KSZTAŁT",
     "kształt sygnału kanału: sine, square, triangle albo dc\n"
     "(domyślnie kolejno sine, square, triangle, dc); każdy\n"
     "zaczyna okres w chwili wyzwolenia"},
    {"vdiv", "V", "wolty na działkę ekranu, liczba > 0 (domyślnie 0.5)"},
    {"tdiv", "S", "sekundy na działkę ekranu, liczba > 0 (domyślnie 0.0005)"},
    {"amp", "V", "amplituda szczytowa sygnałów w woltach, liczba > 0;\ndc leży na +V (domyślnie 1)"},
    {"freq", "HZ", "częstotliwość sygnałów w Hz, liczba > 0 (domyślnie 1000)"},
    {"baud", "SZYBKOŚĆ", "szybkość linii w bit/s dla --baud-delay, liczba\ncałkowita (domyślnie 9600)"},
    {"baud-delay", "",
     "odpowiedzi płyną w tempie linii: znak to bit startu\n"
     "oraz bity danych, parzystości i stopu modelu"},
    {"fault", "USTERKA", "udawana usterka, jedna z wymienionych niżej"},
    {"seed", "S", "ziarno szumu noise:P, od 0 do 4294967295 (domyślnie 1);\nto samo ziarno daje ten sam szum"},
    {"log", "PLIK", "dopisuje do PLIKU każde zapytanie w całości, jedno\nw wierszu"},
    {"once", "", "kończy pracę, gdy druga strona pierwszy raz zamknie port"},
    {"listen", "HOST:PORT",
     "przyrząd SCPI przyjmuje połączenia TCP na HOST:PORT zamiast\n"
     "pseudoterminala; port 0 wybiera wolny i wypisuje go"},
    {"stopped", "", "przyrząd SCPI jest zatrzymany (domyślnie pracuje)"},
    {"offset", "S", "przesunięcie poziome ekranu przyrządu SCPI: środek\nekranu S sekund po wyzwoleniu (domyślnie 0)"},
    {"off", "N", "kanał N przyrządu SCPI jest wyłączony; można powtórzyć"},
    {"help", "", "ten opis"},
};

constexpr char kFaultHelp[] =
    "Usterki odpowiedzi modelu:\n"
    "  short         przebieg krótszy o 100 punktów\n"
    "  garbage       szum zamiast identyfikacji lub potwierdzenia (LT224: w cyfrach\n"
    "                przebiegu)\n"
    "  wrong-id      inny przyrząd tej samej rodziny\n"
    "Usterki linii, dla wszystkiego, co model wysyła:\n"
    "  silent        żadnej odpowiedzi\n"
    "  hangup        linia zrywa się w połowie pierwszej długiej odpowiedzi\n"
    "                (przebiegu), gdy druga strona odczyta to, co przyszło wcześniej\n"
    "  drop:N        ginie co N-ty wysłany bajt (N >= 1)\n"
    "  noise:P       w każdym wysłanym bajcie z prawdopodobieństwem P (0..1) jeden\n"
    "                losowy bit jest odwrócony; --seed S powtarza przebieg\n"
    "  stall:MS      przerwa MS milisekund w połowie każdej długiej odpowiedzi\n"
    "  hangup-mid    pseudoterminal zamyka się w połowie pierwszej długiej\n"
    "                odpowiedzi, gdy druga strona wciąż czyta; reszta przepada\n"
    "Usterki przyrządów SCPI:\n"
    "  no-lf         blok danych bez LF na końcu (Rigol)\n"
    "  short-after-run  pierwszy blok po :RUN krótszy niż zapis (Rigol)\n"
    "  silent-wf     pierwsze WF? bez odpowiedzi (Siglent)\n"
    "  plus-zero     \"+0\" na pierwsze :WAV:PRE? (Keysight)\n"
    "  slow-first:MS pierwsza odpowiedź po połączeniu spóźniona o MS milisekund\n"
    "                (Keysight)\n"
    "  slow-wfmpre   WFMPre? z odpowiedzią po sekundzie (Tektronix)\n"
    "  dribble       odpowiedzi po kilka bajtów\n"
    "  long-block    blok dłuższy, niż mówi jego nagłówek\n"
    "  short-block   blok krótszy, niż mówi jego nagłówek, potem cisza\n"
    "  bad-header    nagłówek bloku z mniejszą liczbą cyfr, niż zapowiada\n"
    "  reset         połączenie zerwane (RST) w połowie pierwszej długiej odpowiedzi\n";

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
        error = "--fault drop:N wymaga liczby całkowitej N >= 1, a nie " + text;
    } else if (name == "noise") {
        options.fault = ESimFault::Noise;
        double p = -1.0;
        if (ReadNumber(value, p) && p >= 0.0 && p <= 1.0) {
            options.noiseProbability = p;
            return true;
        }
        error = "--fault noise:P wymaga prawdopodobieństwa 0 <= P <= 1, a nie " + text;
    } else if (name == "stall") {
        options.fault = ESimFault::Stall;
        if (ReadInteger(value, 0, 24LL * 3600 * 1000, options.stallMs)) return true;
        error = "--fault stall:MS wymaga całkowitej liczby milisekund MS >= 0, a nie " + text;
    } else if (name == "slow-first") {
        options.fault = ESimFault::SlowFirst;
        if (ReadInteger(value, 0, 24LL * 3600 * 1000, options.slowFirstMs)) return true;
        error = "--fault slow-first:MS wymaga całkowitej liczby milisekund MS >= 0, a nie " + text;
    } else {
        error = "nieznana usterka " + text;
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
        return "nieznana opcja " + std::string(name.size() == 1 ? "-" : "--") + name.toStdString();
    }
    // Otherwise an option lacks its value or a switch was given one; the text quotes it.
    const QString text = parser.errorText();
    const qsizetype open = text.indexOf('\''), close = text.lastIndexOf('\'');
    const QString quoted = open >= 0 && close > open ? text.mid(open + 1, close - open - 1) : text;
    qsizetype dashes = 0;
    while (dashes < quoted.size() && quoted[dashes] == '-') ++dashes;
    const OptionSpec* option = FindOption(quoted.mid(dashes));
    if (option && *option->value) return "opcja " + quoted.toStdString() + " wymaga wartości";
    return "opcja " + quoted.toStdString() + " nie przyjmuje wartości";
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
    if (!parser.positionalArguments().isEmpty()) {
        error = "nieoczekiwany argument " + parser.positionalArguments().first().toStdString();
        return ESimCommand::UsageError;
    }
    bool ok = true;
    auto bad = [&](const char* name, const std::string& value) {
        error = std::string("zła wartość opcji --") + name + ": " + value;
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
        error = "brak opcji --model (jeden z: " + ModelKeys() + ")";
        return ESimCommand::UsageError;
    }
    // The index Kiv.cfg stores names the model too, so scripts need no list of their own.
    int index = -1;
    if (ReadInteger(options.model, 0, INT_MAX, index))
        if (const SimModelInfo* m = FindSimModel(index)) options.model = m->key;
    if (!FindSimModel(options.model)) {
        error = "nieznany model " + options.model + " (znane: " + ModelKeys() + ")";
        return ESimCommand::UsageError;
    }
    return ESimCommand::Run;
}

std::string SimHelp() {
    std::string text =
        "Użycie: kiv-scope-sim --model MODEL [opcje]\n"
        "Udaje oscyloskop na pseudoterminalu, który Kiv otwiera jako port COMn (zmienna\n"
        "KIV_COMn). Pracuje do sygnału SIGTERM lub SIGINT.\n\n"
        "Modele:\n";
    for (const SimModelInfo& m : SimModels()) {
        const std::string key = m.key;
        text += "  " + key + std::string(key.size() < 12 ? 12 - key.size() : 1, ' ') + m.name + "\n";
    }
    text += "\nOpcje:\n";
    constexpr size_t kColumn = 24;
    for (const OptionSpec& o : kOptions) {
        const QStringList names = OptionNames(o);
        QString head = names.size() > 1 ? "--" + names.first() + "..--" + names.last()
                                        : (names.first() == "help" ? "-h, --help" : "--" + names.first());
        if (*o.value) head += ' ' + QString::fromUtf8(o.value);
        std::string line = "  " + head.toStdString();
        const size_t width = 2 + static_cast<size_t>(head.size());  // characters, not bytes
        line += width < kColumn ? std::string(kColumn - width, ' ') : "\n" + std::string(kColumn, ' ');
        for (const char* c = o.help; *c; ++c)
            line += *c == '\n' ? "\n" + std::string(kColumn, ' ') : std::string(1, *c);
        text += line + "\n";
    }
    text += std::string("\n") + kFaultHelp +
            "\nKod wyjścia: 0 po zakończeniu pracy (sygnał, --once, zerwana linia),\n"
            "1 przy błędzie w trakcie pracy, 2 przy błędnym wywołaniu.\n";
    return text;
}
