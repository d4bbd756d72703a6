// SPDX-License-Identifier: GPL-3.0-or-later
#include "KivToolCli.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"

namespace {

constexpr size_t kHelpColumn = 24;  // where option texts start
constexpr size_t kHelpWidth = 79;

QString Dashed(const QString& name) { return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name; }

// Characters on a terminal, not bytes: the texts are Polish.
size_t Columns(const std::string& s) {
    size_t n = 0;
    for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// The text in lines of at most width characters, broken between words; every line after
// the first starts at column indent. A newline in the text always breaks.
std::string Wrapped(const std::string& text, size_t indent, size_t width) {
    std::string out, line;
    auto flush = [&] {
        if (!out.empty()) out += "\n" + std::string(indent, ' ');
        out += line;
        line.clear();
    };
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find_first_of(" \n", start), text.size());
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && Columns(line) + 1 + Columns(word) > width - indent) flush();
        line += (line.empty() ? "" : " ") + word;
        if (end < text.size() && text[end] == '\n') flush();
        start = end + 1;
    }
    if (!line.empty()) flush();
    return out;
}

std::string Synopsis(const KivToolCommand& c) {
    std::string s = std::string("kivtool ") + c.name + (*c.files ? " " + KivToolText(c.files) : "");
    if (!c.options.empty()) s = KivToolText(KIV_TR_NOOP("kivtool", "%1 [opcje]"), {s});
    return s;
}

std::string CommandHelp(const KivToolCommand& c) {
    std::string out = KivToolText(KIV_TR_NOOP("kivtool", "Użycie: %1"), {Synopsis(c)}) + "\n\n" +
                      Wrapped(KivToolText(c.description), 0, kHelpWidth) + "\n";
    out += "\n" + KivToolText(KIV_TR_NOOP("kivtool", "Opcje:")) + "\n";
    auto line = [&out](const std::string& left, const std::string& help) {
        std::string l = "  " + left;
        if (Columns(l) + 2 > kHelpColumn) l += "\n" + std::string(kHelpColumn, ' ');
        else l += std::string(kHelpColumn - Columns(l), ' ');
        out += l + Wrapped(help, kHelpColumn, kHelpWidth) + "\n";
    };
    for (const KivToolOption& o : c.options)
        line(std::string("--") + o.name + (o.valueName ? " " + KivToolText(o.valueName) : ""),
             o.helpArg.empty() ? KivToolText(o.help) : KivToolText(o.help, {o.helpArg}));
    line("-h, --help", KivToolText(KIV_TR_NOOP("kivtool", "ten opis")));
    return out;
}

std::string ProgramHelp(const std::vector<KivToolCommand>& commands) {
    std::string out =
        KivToolText(KIV_TR_NOOP("kivtool", "Użycie: %1"),
                    {KivToolText(KIV_TR_NOOP("kivtool", "kivtool POLECENIE [PLIKI] [opcje]"))}) + "\n\n" +
        KivToolText(KIV_TR_NOOP("kivtool",
                                "Kiv bez okien: dokumenty .kiv, ich tryby, import, eksport, generator i pobieranie\n"
                                "przebiegów z oscyloskopu, do skryptów i sprawdzeń.")) +
        "\n\n" + KivToolText(KIV_TR_NOOP("kivtool", "Polecenia:")) + "\n";
    size_t column = 0;  // two blanks after the longest name
    for (const KivToolCommand& c : commands)
        if (!c.hidden) column = std::max(column, std::string_view(c.name).size() + 4);
    for (const KivToolCommand& c : commands) {
        if (c.hidden) continue;
        const std::string name = std::string("  ") + c.name;
        out += name + std::string(column - name.size(), ' ') + KivToolText(c.summary) + "\n";
    }
    out += "\n" + KivToolText(KIV_TR_NOOP("kivtool",
                                          "kivtool POLECENIE --help albo kivtool help POLECENIE opisuje polecenie\n"
                                          "i każdą jego opcję. Wyniki idą na stdout, każde niepowodzenie to jeden wiersz\n"
                                          "„kivtool: …” na stderr. Status wyjścia: 0 powodzenie, 1 niepowodzenie,\n"
                                          "2 błędne wywołanie.")) + "\n";
    return out;
}

// What QCommandLineParser refused, in the program's words.
std::string ParseError(const QCommandLineParser& parser, const KivToolCommand& c, const QStringList& args) {
    if (!parser.unknownOptionNames().isEmpty())
        return KivToolText(KIV_TR_NOOP("kivtool", "nieznana opcja %1 (kivtool %2 --help)"),
                           {Dashed(parser.unknownOptionNames().first()).toStdString(), c.name});
    for (int i = 1; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1String("--"))) continue;
        const QString name = args[i].mid(2).section(QLatin1Char('='), 0, 0);
        const bool inlineValue = args[i].contains(QLatin1Char('='));
        for (const KivToolOption& o : c.options) {
            if (name != QLatin1String(o.name)) continue;
            if (o.valueName && !inlineValue && i + 1 == args.size())
                return KivToolText(KIV_TR_NOOP("kivtool", "opcja --%1 wymaga wartości %2"),
                                   {o.name, KivToolText(o.valueName)});
            if (!o.valueName && inlineValue)
                return KivToolText(KIV_TR_NOOP("kivtool", "opcja --%1 nie przyjmuje wartości"), {o.name});
        }
    }
    return parser.errorText().toStdString();
}

}  // namespace

std::optional<std::string> KivToolCall::Value(const char* option) const {
    const auto it = m_values.find(option);
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

std::string KivToolText(const char* text, const std::vector<std::string>& args) {
    const QString form = KivTr("kivtool", text);
    if (args.empty()) return form.toStdString();  // a help text may hold a plain "%"
    // One pass, so that a %2 inside an argument (a name the user typed) stays as it is.
    QString out;
    for (qsizetype i = 0; i < form.size(); ++i) {
        const int n = i + 1 < form.size() ? form[i + 1].digitValue() : -1;
        if (form[i] == QLatin1Char('%') && n >= 1 && static_cast<size_t>(n) <= args.size()) {
            out += QString::fromStdString(args[static_cast<size_t>(n) - 1]);
            ++i;
        } else {
            out += form[i];
        }
    }
    return out.toStdString();
}

std::string KivToolOneLine(const std::string& text) {
    std::string line;
    bool blank = false;
    for (const char c : text) {
        if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
            blank = !line.empty();
            continue;
        }
        if (blank) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

void KivToolNote(const std::string& message) { std::fprintf(stderr, "kivtool: %s\n", KivToolOneLine(message).c_str()); }

int KivToolFail(const std::string& message) {
    KivToolNote(message);
    return kExitFailure;
}

int KivToolUsage(const std::string& message) {
    KivToolNote(message);
    return kExitUsage;
}

int KivToolMain(const std::vector<KivToolCommand>& commands, const std::vector<std::string>& argv) {
    if (argv.size() < 2)
        return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "brak polecenia (kivtool --help je wymienia)")));
    const std::string& name = argv[1];
    const bool help = name == "--help" || name == "-h" || name == "help";
    if (help && argv.size() == 2) {
        std::fputs(ProgramHelp(commands).c_str(), stdout);
        return kExitOk;
    }
    // "kivtool help fetch" is "kivtool fetch --help".
    if (help) return KivToolMain(commands, {argv[0], argv[2], "--help"});
    if (name == "--version") {
        std::printf("kivtool %s\n", KIV_VERSION);
        return kExitOk;
    }
    const KivToolCommand* command = nullptr;
    for (const KivToolCommand& c : commands)
        if (name == c.name) command = &c;
    if (!command)
        return KivToolUsage(
            KivToolText(KIV_TR_NOOP("kivtool", "nieznane polecenie %1 (kivtool --help je wymienia)"), {name}));

    QStringList args{QStringLiteral("kivtool")};
    for (size_t i = 2; i < argv.size(); ++i) args << QString::fromLocal8Bit(argv[i].c_str());
    // Help wins over anything else on the line, so that a half-written command can ask.
    for (const QString& a : args.mid(1))
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(CommandHelp(*command).c_str(), stdout);
            return kExitOk;
        }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const KivToolOption& o : command->options)
        parser.addOption(o.valueName ? QCommandLineOption(QString::fromLatin1(o.name), QString(),
                                                          QString::fromUtf8(o.valueName))
                                     : QCommandLineOption(QString::fromLatin1(o.name)));
    if (!parser.parse(args)) return KivToolUsage(ParseError(parser, *command, args));

    std::vector<std::string> files;
    for (const QString& f : parser.positionalArguments()) files.push_back(f.toLocal8Bit().toStdString());
    const int count = static_cast<int>(files.size());
    if (count < command->minFiles || count > command->maxFiles)
        return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "oczekiwano: %1 (kivtool %2 --help)"),
                                        {Synopsis(*command), command->name}));
    std::map<std::string, std::string> values;  // a repeated option: its last value
    for (const KivToolOption& o : command->options) {
        const QString option = QString::fromLatin1(o.name);
        if (!parser.isSet(option)) continue;
        values[o.name] = o.valueName ? parser.values(option).last().toLocal8Bit().toStdString() : std::string();
    }
    return command->run(KivToolCall(*command, std::move(files), std::move(values)));
}
