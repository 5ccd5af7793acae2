// tesva-data: makes the game's "Data" folder, the card pictures and the sounds, and the game's
// icon, at build time.
//
//   tesva-data --faces DECK.svgz --backs DECK.svgz --out DIR
//   tesva-data --faces DECK.svgz --backs DECK.svgz --icons DIR --icon-name NAME --icon-sizes 16,32
//
// Only QImage and QSvgRenderer are used (the decks hold no text, so no fonts are needed):
// it runs on a build machine without a display.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "cards.h"
#include "icon.h"
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
  const QCommandLineOption icons("icons", "The icon theme folder to put the icon in.", "dir");
  const QCommandLineOption iconName("icon-name", "The icon's file name.", "name");
  const QCommandLineOption iconSizes("icon-sizes", "The PNG sizes, comma-separated.", "sizes");
  parser.addOptions({faces, backs, out, icons, iconName, iconSizes});
  parser.process(app);
  if (!parser.isSet(faces) || !parser.isSet(backs) || (!parser.isSet(out) && !parser.isSet(icons)))
    return fail("--faces, --backs, and --out or --icons are needed");

  if (parser.isSet(out)) {
    const QString dir = parser.value(out);
    if (!QDir().mkpath(dir)) return fail("cannot create " + dir);
    QString error = datagen::writeCardPictures(parser.value(faces), parser.value(backs), dir);
    if (error.isEmpty()) error = datagen::writeSounds(dir);
    if (!error.isEmpty()) return fail(error);
  }
  if (parser.isSet(icons)) {
    QList<int> sizes;
    for (const QString& size : parser.value(iconSizes).split(',', Qt::SkipEmptyParts)) {
      if (size.toInt() <= 0) return fail("not an icon size: " + size);
      sizes << size.toInt();
    }
    if (parser.value(iconName).isEmpty()) return fail("--icon-name is needed with --icons");
    QString error =
        datagen::writeIcon(parser.value(faces), parser.value(icons), parser.value(iconName), sizes);
    if (!error.isEmpty()) return fail(error);
  }
  return 0;
}
