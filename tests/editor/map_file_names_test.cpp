#include "editor/map_file.h"

#include "records/user_messages.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace kx;

namespace {

MapTexts textsNamed(const QString& name) {
    return {name, QString(), QString(), "3", "10", "0", "100"};
}

} // namespace

// Names are file names in the folder as typed, whatever their first character: a leading ':'
// must not make a resource path of them, nor an empty folder a path elsewhere.
TEST(MapFileNames, ColonDotsAndBlanksStayInTheFolder) {
    QTemporaryDir dir;
    MapEditor editor;
    RecordedMessages messages;
    for (const QString name : {":mapa", ":", "..", " mapa ", "~", "a:b"})
        EXPECT_TRUE(saveMap(editor, textsNamed(name), dir.path(), messages)) << name.toStdString();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({" mapa .xml", "...xml", ":.xml", ":mapa.xml", "a:b.xml", "~.xml"}));
    EXPECT_EQ(freeMapFileName(dir.path() + "/", ":mapa"), dir.path() + "/:mapa1.xml");

    // Without a folder (a current folder that is gone) the name stays relative.
    EXPECT_EQ(freeMapFileName(QString(), ":x"), "./:x.xml");
}
