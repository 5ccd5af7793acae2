#include "window/app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

// The status of a command line that cannot be used, as getopt programs
// and tesva-headless give it.
constexpr int kUsageError = 2;

int Fail(const QString& message) {
  std::fprintf(stderr, "tesva: %s\nTry 'tesva --help' for more information.\n",
               qPrintable(message));
  return kUsageError;
}

}  // namespace

std::optional<int> ReadCommandLine(int argc, char* argv[]) {
  // Started from the menu or the shell with nothing more: no parser and no
  // second application object stand in the way of the window.
  if (argc <= 1) return std::nullopt;

  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tesva"));
  QCoreApplication::setApplicationVersion(QStringLiteral(TESVA_VERSION));
  QCommandLineParser parser;
  // "-platform" is one unknown option, not eight unknown letters.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(QStringLiteral(
      "Tesva, the Turkish fishing card game, played against the computer in one window.\n"
      "The options are kept in ~/.config/Tesva (TT)/Tesva (TT).ini; see tesva(6)."));
  // Qt's own --help-all would list Qt's window options, which the game does
  // not take.
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Displays this help."));
  parser.addOption(help);
  const QCommandLineOption version = parser.addVersionOption();
  if (!parser.parse(QCoreApplication::arguments())) return Fail(parser.errorText());
  if (!parser.positionalArguments().isEmpty())
    return Fail(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[0]));
  if (parser.isSet(version) && !parser.isSet(help)) {
    std::printf("tesva %s\n", TESVA_VERSION);
  } else {
    std::fputs(qPrintable(parser.helpText()), stdout);
  }
  return 0;
}
