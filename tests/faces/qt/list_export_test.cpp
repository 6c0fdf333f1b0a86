#include <sys/resource.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "tests/faces/qt/support/list_view_input.h"
#include "tests/faces/qt/support/main_window_harness.h"
#include "tests/faces/qt/support/modal_driver.h"
#include "tests/faces/qt/support/private_network_test.h"
#include "tests/faces/qt/support/temporary_settings.h"

using namespace kestrelink;
using namespace kestrelink::testing;

namespace {

// A byte-order mark first, for spreadsheet programs.
const QByteArray kHeader = "\xef\xbb\xbfip,mac,product,name,version,serial,family\n";
const QByteArray kLobby = "10.0.0.3,0e:00:00:00:08:03,Kestrel Cam,lobby,2.1,3,08bits\n";
const QByteArray kCafe = "10.0.0.2,0e:00:00:00:32:02,Kestrel Hub,caf\xc3\xa9,2.1,2,32bits\n";
const QByteArray kEast =
    "10.0.0.1,0e:00:00:00:08:01,Kestrel Cam,\"unit \"\"7\"\", east\",2.1,1,08bits\n";

// A disk that takes no more than a few bytes: writes beyond fail with "File too large".
class FileSizeLimit final {
public:
    FileSizeLimit() {
        getrlimit(RLIMIT_FSIZE, &m_before);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_before;
        limit.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_signal);
    }
    Q_DISABLE_COPY_MOVE(FileSizeLimit)

private:
    rlimit m_before{};
    void (*m_signal)(int) = nullptr;
};

// Export List from the menu on empty space, saving to path; inSaveDialog runs just before the
// file dialog is accepted. False unless one menu and one file dialog opened.
bool Export(
    const MainWindowHarness& window, const QString& path,
    const std::function<void()>& inSaveDialog = [] {}) {
    ModalDriver<QMenu> menus([](QMenu& menu) { Choose(menu, QStringLiteral("&Export List...")); });
    ModalDriver<QFileDialog> files([&](QFileDialog& dialog) {
        dialog.selectFile(path);
        inSaveDialog();
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
    });
    RightClick(*window.list, QPoint(10, window.list->viewport()->height() - 10));
    return menus.Driven() == 1 && files.Driven() == 1 && files.LeftOpen() == 0;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

}  // namespace

class ListExportTest final : public PrivateNetworkQtTest {
    Q_OBJECT

private slots:
    void writesTheRowsShownAndKeepsTheOldFileWhenWritingFails();

private:
    // The file dialog remembers its folder in the settings.
    TemporarySettings m_settings;
};

void ListExportTest::writesTheRowsShownAndKeepsTheOldFileWhenWritingFails() {
    MainWindowHarness window(QMessageBox::Yes);  // yes, replace the file
    QVERIFY(window.List({{"10.0.0.1", 1, "unit \"7\", east"},
                         {"10.0.0.2", 2, "caf\xe9", DeviceFamily::Bits32},
                         {"10.0.0.3", 3, "lobby"}}));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("devices.csv"));
    const QByteArray listed = kHeader + kLobby + kCafe + kEast;
    QVERIFY(Export(window, path));
    QCOMPARE(Contents(path), listed);

    ClickHeader(*window.list, kColumnIp);
    window.FilterField()->setText(QStringLiteral("Kestrel Cam"));
    QVERIFY(Export(window, path));
    const QByteArray shown = kHeader + kEast + kLobby;
    QCOMPARE(Contents(path), shown);
    QCOMPARE(window.boxes.Caught().size(), 1);  // whether to replace the file, and no failure

    std::optional<FileSizeLimit> limit;
    QVERIFY(Export(window, path, [&] { limit.emplace(); }));
    limit.reset();
    QCOMPARE(
        window.boxes.Caught().last(),
        AppWarning("Failed to save the list to " + path + ":\nFile too large", &window.dialog));
    QCOMPARE(Contents(path), shown);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"devices.csv"});
}

QTEST_MAIN(ListExportTest)
#include "list_export_test.moc"
