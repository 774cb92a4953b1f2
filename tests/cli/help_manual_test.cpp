#include "tool_run.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// The commands that `kxrtool --help` lists, in its order.
QStringList listedCommands(const QString& help) {
    QStringList commands;
    const QRegularExpression line(QStringLiteral("^  kxrtool ([a-z]+)"),
                                  QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& m : line.globalMatch(help))
        commands.append(m.captured(1));
    return commands;
}

} // namespace

TEST(Kxrtool, EveryCommandAnswersHelpOnStandardOutput) {
    const QStringList commands = listedCommands(QString::fromUtf8(runTool({"--help"}).out));
    ASSERT_GE(commands.size(), 8);
    for (const QString& command : commands) {
        for (const char* help : {"--help", "-h"}) {
            const ToolRun run = runTool({command, help});
            EXPECT_EQ(run.exitCode, 0) << command.toStdString() << ' ' << help;
            EXPECT_TRUE(run.out.startsWith("Použití: kxrtool " + command.toUtf8()))
                << run.out.constData();
            EXPECT_TRUE(run.err.isEmpty());
        }
    }
}

// The manual page documents every command and every option that the usage names.
TEST(Kxrtool, ManualPageDocumentsEveryCommandAndOption) {
    QFile page(QStringLiteral(KX_SAMPLES_DIR "/../man/kxrtool.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(page.readAll());
    const QString help = QString::fromUtf8(runTool({"--help"}).out);

    for (const QString& command : listedCommands(help))
        EXPECT_TRUE(manual.contains(QStringLiteral(".B kxrtool ") + command))
            << "synopsis of " << command.toStdString();
    QSet<QString> options;
    const QRegularExpression option(QStringLiteral("(--[a-z]+|-h\\b)"));
    for (const QRegularExpressionMatch& m : option.globalMatch(help))
        options.insert(m.captured(1));
    ASSERT_GE(options.size(), 15);
    for (const QString& name : options) {
        const QString roff = QString(name).replace(QLatin1String("-"), QLatin1String("\\-"));
        EXPECT_TRUE(manual.contains(QStringLiteral(".B ") + roff) ||
                    manual.contains(QStringLiteral(".BR ") + roff) ||
                    manual.contains(QStringLiteral(".BI ") + roff))
            << "no description of " << name.toStdString();
    }
}
