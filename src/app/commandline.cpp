#include "commandline.h"

#include "identity.h"

#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace Quorvath {

namespace {

using namespace Qt::StringLiterals;

// The options of QCoreApplication, QGuiApplication, QApplication and the X11
// platform plugin that QApplication takes off the command line itself.
const char *const QtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "qmljsdebugger",
    "display", "name", "visual", "geometry", "icon", "title",
};
const char *const QtFlags[] = {
    "reverse", "testability", "widgetcount", "qdevel", "qdebug", "nograb", "dograb",
};

bool takesValue(std::string_view name)
{
    return std::find(std::begin(QtOptionsWithValue), std::end(QtOptionsWithValue), name)
        != std::end(QtOptionsWithValue);
}

// Qt reads its options as -name value; the parser below also takes
// --name=value and -name=value, which Qt would leave unread. So each of Qt's
// options given with '=' is split into the form Qt reads, for the parser and
// for Qt alike. The new vector lives as long as the program, as Qt's does.
void splitQtOptions(int &argc, char **&argv)
{
    static std::vector<std::string> words;
    static std::vector<char *> vector;
    words.assign(argv, argv + argc);
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string_view word = words[i];
        if (word == "--")
            break;
        const size_t dashes = word.starts_with("--") ? 2 : word.starts_with('-') ? 1 : 0;
        const size_t equals = word.find('=');
        const std::string_view name = word.substr(dashes, equals == word.npos ? word.npos : equals - dashes);
        if (dashes == 0 || !takesValue(name))
            continue;
        if (equals == word.npos) {
            ++i;   // its value, whatever it looks like
            continue;
        }
        std::string value = words[i].substr(equals + 1);
        words[i] = '-' + std::string(name);
        words.insert(words.begin() + std::ptrdiff_t(i) + 1, std::move(value));
        ++i;
    }
    vector.clear();
    for (std::string &word : words)
        vector.push_back(word.data());
    vector.push_back(nullptr);
    argc = int(words.size());
    argv = vector.data();
}

QString usage(const QList<QCommandLineOption> &options)
{
    QString text = u"Usage: QuorvathItemlist [options]\n"
                   u"Look up the items of the role-playing game Quorvath.\n\nOptions:\n"_s;
    QStringList names;
    qsizetype width = 0;
    for (const QCommandLineOption &option : options) {
        names << u"  -%1, --%2"_s.arg(option.names().first(), option.names().last());
        width = std::max(width, names.last().size() + 2);
    }
    for (qsizetype i = 0; i < options.size(); ++i)
        text += names[i].leftJustified(width) + options[i].description() + u'\n';
    text += u"\nQt's own options, such as -platform, -style and -reverse, work as in\n"
            u"every Qt program.\n"_s;
    return text;
}

void print(FILE *stream, const QString &text)
{
    fputs(text.toLocal8Bit().constData(), stream);
}

// Help and version are answered on standard output; a write that failed
// there (a full disk, a closed pipe or descriptor) is no answer. As the
// standard tools do, it is said on standard error and the exit code is 1.
int answered(const QString &text)
{
    print(stdout, text);
    if (fflush(stdout) == 0 && !ferror(stdout))
        return 0;
    const int error = errno;
    fprintf(stderr, "QuorvathItemlist: write error: %s\n", std::strerror(error));
    return 1;
}

} // namespace

std::optional<int> handleCommandLine(int &argc, char **&argv)
{
    splitQtOptions(argc, argv);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help and exit."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Show the name and version and exit."_s);
    QCommandLineParser parser;
    // Qt's options are words after a single dash: -platform, not -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(help);
    parser.addOption(version);
    for (const char *name : QtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), u"value"_s);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : QtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    const QList<QCommandLineOption> ours{help, version};
    QString error;
    if (!parser.parse(arguments))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error = u"Unexpected argument '%1'."_s.arg(parser.positionalArguments().first());
    if (!error.isEmpty()) {
        print(stderr, u"QuorvathItemlist: %1\n\n"_s.arg(error) + usage(ours));
        return 2;
    }
    if (parser.isSet(help))
        return answered(usage(ours));
    if (parser.isSet(version))
        return answered(u"Quorvath Itemlist %1\n"_s.arg(Identity::Version));
    return std::nullopt;
}

} // namespace Quorvath
