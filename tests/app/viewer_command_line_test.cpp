#include "app/command_line.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

// The built viewer answers --help and --version, and rejects unknown options, without a
// display: no X server, no Wayland, no Qt platform chosen.
TEST(ViewerCommandLine, HelpVersionAndUsageErrorsNeedNoDisplay) {
    const QString viewer = QStringLiteral(KX_BIN_DIR "/kxreview");
    if (!QFileInfo(viewer).isExecutable())
        GTEST_SKIP() << "the viewer is not built (KX_WITH_WIDGETS=OFF)";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    struct Case {
        QStringList args;
        int exitCode;
        const char* out; // the start of standard output, or of standard error when failing
    };
    for (const Case& c : {Case{{"--help"}, 0, "Použití: kxreview [ZÁZNAM]\n"},
                          Case{{"-h"}, 0, "Použití: kxreview [ZÁZNAM]\n"},
                          Case{{"--version"}, 0, "kxreview 0.5.0\n"},
                          Case{{"--bogus"}, 2, "kxreview: Neznámá volba: --bogus\nPoužití:"},
                          Case{{"--version", "x.kxr2"}, 2, "kxreview: Volba --version"}}) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(viewer, c.args);
        ASSERT_TRUE(process.waitForFinished(30000));
        const QByteArray out = process.readAllStandardOutput();
        const QByteArray err = process.readAllStandardError();
        const std::string name = c.args.join(' ').toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << name;
        EXPECT_EQ(process.exitCode(), c.exitCode) << name << err.constData();
        EXPECT_TRUE((c.exitCode == 0 ? out : err).startsWith(c.out)) << name;
        EXPECT_TRUE((c.exitCode == 0 ? err : out).isEmpty()) << name;
    }
}

// What the viewer makes of its arguments before any window exists: a record path, a toolkit
// option with one dash, or one of its own options standing alone.
TEST(ViewerCommandLine, ArgumentsDecideTheAction) {
    using kx::ViewerAction;
    const struct {
        QStringList args;
        ViewerAction action;
        const char* error;
    } cases[] = {
        {{}, ViewerAction::Run, ""},
        {{"x.kxr2", "--help"}, ViewerAction::Run, ""},
        {{"-platform", "offscreen"}, ViewerAction::Run, ""},
        {{"-h"}, ViewerAction::Help, ""},
        {{"--version"}, ViewerAction::Version, ""},
        {{"--verze"}, ViewerAction::UsageError, "Neznámá volba: --verze"},
        {{"--help", "x.kxr2"}, ViewerAction::UsageError, "Volba --help nebere další argumenty."},
    };
    for (const auto& c : cases) {
        const kx::ViewerCommandLine parsed = kx::parseViewerCommandLine(c.args);
        EXPECT_EQ(parsed.action, c.action) << c.args.join(' ').toStdString();
        EXPECT_EQ(parsed.error, QString::fromUtf8(c.error)) << c.args.join(' ').toStdString();
    }
}
