#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <QUrl>

#include "faces/qt/help_launcher.h"
#include "tests/faces/qt/support/message_box_catcher.h"
#include "tests/faces/qt/support/url_catcher.h"

using namespace kestrelink;
using kestrelink::testing::AppWarning;
using kestrelink::testing::MessageBoxCatcher;
using kestrelink::testing::UrlCatcher;

class HelpLauncherTest final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void f1AsksForTheDialogsContext_data();
    void f1AsksForTheDialogsContext();
    void missingPageIsReported();

private:
    UrlCatcher m_urls;
};

namespace {

QString PageBesideTests() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kestrelink.html"));
}

}  // namespace

void HelpLauncherTest::init() {
    m_urls.opened.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_urls, "Open");
}

void HelpLauncherTest::cleanup() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void HelpLauncherTest::f1AsksForTheDialogsContext_data() {
    QTest::addColumn<int>("templateId");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("fragment");  // empty: no help asked for
    QTest::newRow("main window") << 102 << Qt::KeyboardModifiers() << "context-131174";
    QTest::newRow("IP configuration") << 129 << Qt::KeyboardModifiers() << "context-131201";
    QTest::newRow("Shift") << 102 << Qt::KeyboardModifiers(Qt::ShiftModifier) << "";
    QTest::newRow("Ctrl") << 102 << Qt::KeyboardModifiers(Qt::ControlModifier) << "";
    QTest::newRow("Alt") << 102 << Qt::KeyboardModifiers(Qt::AltModifier) << "";
}

void HelpLauncherTest::f1AsksForTheDialogsContext() {
    QFETCH(int, templateId);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, fragment);
    QDialog dialog;
    InstallHelpKey(&dialog, templateId);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QTest::keyClick(&dialog, Qt::Key_F1, modifiers);
    if (fragment.isEmpty()) {
        QVERIFY(m_urls.opened.isEmpty());
        return;
    }
    QCOMPARE(m_urls.opened.size(), 1);
    const QUrl url = m_urls.opened.first();
    QCOMPARE(url.fragment(), fragment);
    QCOMPARE(QFileInfo(url.toLocalFile()).canonicalFilePath(),
             QFileInfo(PageBesideTests()).canonicalFilePath());
    QFile page(PageBesideTests());
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray anchor = "id=\"" + fragment.toLatin1() + '"';
    QVERIFY2(page.readAll().contains(anchor), anchor.constData());
}

void HelpLauncherTest::missingPageIsReported() {
    const QString page = PageBesideTests();
    const QString hidden = page + QStringLiteral(".hidden");
    QVERIFY(QFile::rename(page, hidden));
    const auto restore = qScopeGuard([&] { QFile::rename(hidden, page); });

    QDialog owner;
    MessageBoxCatcher boxes;
    RequestHelp(&owner, 131174);
    QTRY_COMPARE(boxes.Caught(), QList{AppWarning("Failed to launch help.", &owner)});
    QVERIFY(m_urls.opened.isEmpty());
}

QTEST_MAIN(HelpLauncherTest)
#include "help_launcher_test.moc"
