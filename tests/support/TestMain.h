#pragma once

#include "app/AppFont.h"
#include "platform/WebView.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

// Like QTEST_MAIN, plus what every test of this program needs: the Chinese font, standard
// paths redirected away from the real home folder, and the build's browser plugin.
#define PANDREL_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        QApplication app(argc, argv);                                                              \
        platform::setWebViewPluginFolder(QStringLiteral(PANDREL_WEB_VIEW_PLUGIN_DIR));             \
        applyChineseFont();                                                                        \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
