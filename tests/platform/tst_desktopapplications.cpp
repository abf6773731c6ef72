#include "TestMain.h"

#include "platform/DesktopApplications.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using platform::XdgLocations;

// Desktop entries and mimeapps.list files laid out in a temporary tree as a desktop installs them.
class TestDesktopApplications : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void defaultTextEditor_data();
    void defaultTextEditor();
    void calculatorByCategory_data();
    void calculatorByCategory();
    void commandOfAnEntry_data();
    void commandOfAnEntry();

private:
    // Writes a file under the tree; `relative` like "data/applications/x.desktop".
    void write(const QString &relative, const QString &text);
    // An application entry that runs an existing program unless `program` says otherwise.
    void entry(const QString &folder, const QString &id, const QString &keys,
               const QString &program = QStringLiteral("true"));
    QString entryPath(const QString &folder, const QString &id) const;
    XdgLocations locations() const;

    std::unique_ptr<QTemporaryDir> m_root;
};

void TestDesktopApplications::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
}

void TestDesktopApplications::write(const QString &relative, const QString &text)
{
    const QString path = m_root->filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write(text.toUtf8());
}

void TestDesktopApplications::entry(const QString &folder, const QString &id, const QString &keys,
                                    const QString &program)
{
    write(folder + QStringLiteral("/applications/") + id,
          QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2 %U\n%3\n").arg(id, program, keys));
}

QString TestDesktopApplications::entryPath(const QString &folder, const QString &id) const
{
    return m_root->filePath(folder + QStringLiteral("/applications/") + id);
}

XdgLocations TestDesktopApplications::locations() const
{
    return {{m_root->filePath(QStringLiteral("config")), m_root->filePath(QStringLiteral("etc"))},
            {m_root->filePath(QStringLiteral("home")), m_root->filePath(QStringLiteral("usr"))},
            {QStringLiteral("gnome")}};
}

void TestDesktopApplications::defaultTextEditor_data()
{
    QTest::addColumn<QString>("expected"); // folder/id, or empty

    QTest::newRow("the user's default") << "usr/org.gnome.TextEditor.desktop";
    QTest::newRow("the desktop's own list first") << "usr/kate.desktop";
    QTest::newRow("a default that is not installed is passed over") << "usr/mousepad.desktop";
    QTest::newRow("an added association") << "usr/org.gnome.TextEditor.desktop";
    QTest::newRow("no association: a text editor that lists the type") << "usr/mousepad.desktop";
    QTest::newRow("the user's copy of an entry hides the system's") << "home/org.gnome.TextEditor.desktop";
    QTest::newRow("none") << "";
}

void TestDesktopApplications::defaultTextEditor()
{
    QFETCH(QString, expected);
    const QString tag = QString::fromUtf8(QTest::currentDataTag());
    // Every case has a browser that also opens text, and two editors.
    entry(QStringLiteral("usr"), QStringLiteral("browser.desktop"),
          QStringLiteral("MimeType=text/html;text/plain;\nCategories=Network;WebBrowser;"));
    if (tag != QLatin1String("none")) {
        entry(QStringLiteral("usr"), QStringLiteral("org.gnome.TextEditor.desktop"),
              QStringLiteral("MimeType=text/plain;\nCategories=Utility;TextEditor;"));
        entry(QStringLiteral("usr"), QStringLiteral("mousepad.desktop"),
              QStringLiteral("MimeType=text/plain;\nCategories=Utility;TextEditor;"));
        entry(QStringLiteral("usr"), QStringLiteral("kate.desktop"), QStringLiteral("Categories=Utility;"));
        entry(QStringLiteral("usr"), QStringLiteral("gone.desktop"), QString(), QStringLiteral("no-such-program-here"));
    } else {
        write(QStringLiteral("config/mimeapps.list"),
              QStringLiteral("[Removed Associations]\ntext/plain=browser.desktop;\n"));
    }
    const QString userDefault = QStringLiteral("[Default Applications]\ntext/plain=org.gnome.TextEditor.desktop;\n");
    if (tag == QLatin1String("the user's default")) {
        write(QStringLiteral("config/mimeapps.list"), userDefault);
        write(QStringLiteral("usr/applications/mimeapps.list"),
              QStringLiteral("[Default Applications]\ntext/plain=mousepad.desktop\n"));
    } else if (tag == QLatin1String("the desktop's own list first")) {
        write(QStringLiteral("config/gnome-mimeapps.list"), QStringLiteral("[Default Applications]\ntext/plain=kate.desktop\n"));
        write(QStringLiteral("config/mimeapps.list"), userDefault);
    } else if (tag == QLatin1String("a default that is not installed is passed over")) {
        write(QStringLiteral("config/mimeapps.list"),
              QStringLiteral("[Default Applications]\ntext/plain=gone.desktop;missing.desktop;mousepad.desktop;\n"));
    } else if (tag == QLatin1String("an added association")) {
        write(QStringLiteral("etc/mimeapps.list"), QStringLiteral("[Added Associations]\ntext/plain=org.gnome.TextEditor.desktop;\n"));
    } else if (tag == QLatin1String("the user's copy of an entry hides the system's")) {
        write(QStringLiteral("config/mimeapps.list"), userDefault);
        entry(QStringLiteral("home"), QStringLiteral("org.gnome.TextEditor.desktop"), QStringLiteral("MimeType=text/plain;"));
    } else if (tag == QLatin1String("no association: a text editor that lists the type")) {
        QFile::remove(entryPath(QStringLiteral("usr"), QStringLiteral("org.gnome.TextEditor.desktop")));
    }

    const QString found = platform::defaultApplicationFor(QStringLiteral("text/plain"), QStringLiteral("TextEditor"),
                                                          locations());

    QCOMPARE(found, expected.isEmpty() ? QString() : m_root->filePath(expected.replace(QStringLiteral("/"),
                                                                                       QStringLiteral("/applications/"))));
}

void TestDesktopApplications::calculatorByCategory_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("found");

    QTest::newRow("a calculator") << "Categories=Utility;Calculator;" << true;
    QTest::newRow("only for another desktop") << "Categories=Utility;Calculator;\nOnlyShowIn=KDE;" << false;
    QTest::newRow("only for this desktop") << "Categories=Utility;Calculator;\nOnlyShowIn=KDE;GNOME;" << true;
    QTest::newRow("not for this desktop") << "Categories=Utility;Calculator;\nNotShowIn=GNOME;" << false;
    QTest::newRow("hidden") << "Categories=Utility;Calculator;\nHidden=true" << false;
    QTest::newRow("its program is missing") << "Categories=Utility;Calculator;\nTryExec=no-such-calculator" << false;
    QTest::newRow("a utility of another kind") << "Categories=Utility;Calculators;" << false;
}

void TestDesktopApplications::calculatorByCategory()
{
    QFETCH(QString, keys);
    QFETCH(bool, found);
    entry(QStringLiteral("usr"), QStringLiteral("calc.desktop"), keys);

    QCOMPARE(platform::applicationInCategory(QStringLiteral("Calculator"), locations()),
             found ? entryPath(QStringLiteral("usr"), QStringLiteral("calc.desktop")) : QString());
}

void TestDesktopApplications::commandOfAnEntry_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("command");

    QTest::newRow("a program") << "gnome-calculator" << QStringList{"gnome-calculator"};
    QTest::newRow("field codes dropped") << "gedit %U" << QStringList{"gedit"};
    QTest::newRow("arguments kept") << "flatpak run org.gnome.Calculator %u"
                                    << QStringList{"flatpak", "run", "org.gnome.Calculator"};
    QTest::newRow("quoted path with spaces") << R"("/opt/My Editor/ed" --new-window %F)"
                                             << QStringList{"/opt/My Editor/ed", "--new-window"};
    QTest::newRow("escapes inside quotes") << R"(sh -c "echo \\"a b\\"")" << QStringList{"sh", "-c", R"(echo "a b")"};
    QTest::newRow("a literal percent") << "app --zoom=100%%" << QStringList{"app", "--zoom=100%"};
    QTest::newRow("no Exec") << "" << QStringList{};
}

void TestDesktopApplications::commandOfAnEntry()
{
    QFETCH(QString, exec);
    QFETCH(QStringList, command);
    write(QStringLiteral("x.desktop"), QStringLiteral("[Desktop Entry]\nName=x\n") + (exec.isEmpty() ? QString()
                                                                                     : QStringLiteral("Exec=") + exec));

    QCOMPARE(platform::desktopEntryCommand(m_root->filePath(QStringLiteral("x.desktop"))), command);
}

PANDREL_TEST_MAIN(TestDesktopApplications)
#include "tst_desktopapplications.moc"
