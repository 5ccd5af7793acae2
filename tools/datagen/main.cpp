// tesva-data: makes the game's "Data" folder, the card pictures and the sounds, at build time.
//
//   tesva-data --faces DECK.svgz --backs DECK.svgz --out DIR
//
// Only QImage and QSvgRenderer are used (the decks hold no text, so no fonts are needed):
// it runs on a build machine without a display.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "cards.h"
#include "sounds.h"

namespace {

int fail(const QString& message) {
  std::fprintf(stderr, "tesva-data: %s\n", qPrintable(message));
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription("Draws the Tesva card pictures and synthesises its sounds.");
  parser.addHelpOption();
  const QCommandLineOption faces("faces", "The KDE svg-standard deck (faces, plain back).", "deck");
  const QCommandLineOption backs("backs", "The KDE svg-nicu-white deck (coloured back).", "deck");
  const QCommandLineOption out("out", "The Data folder to fill.", "dir");
  parser.addOptions({faces, backs, out});
  parser.process(app);
  if (!parser.isSet(faces) || !parser.isSet(backs) || !parser.isSet(out))
    return fail("--faces, --backs and --out are all needed");

  const QString dir = parser.value(out);
  if (!QDir().mkpath(dir)) return fail("cannot create " + dir);
  QString error = datagen::writeCardPictures(parser.value(faces), parser.value(backs), dir);
  if (error.isEmpty()) error = datagen::writeSounds(dir);
  return error.isEmpty() ? 0 : fail(error);
}
