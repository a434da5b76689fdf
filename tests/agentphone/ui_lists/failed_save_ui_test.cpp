// The call-back window over a real embedded database file that refuses writes: the save shows
// the driver's text and logs it, and the request, the attempts and the outcome stay on screen,
// so that once the file can be written again the same save goes through without entering
// anything again. With AGENTPHONE_SHOTS set to a folder, the window after the failed save is
// kept there as failed-save.png.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "agentphone/core/lists/list_messages.h"
#include "agentphone/db/connection_thread.h"
#include "agentphone/db/list_tables.h"
#include "agentphone/db/sql_connection.h"
#include "agentphone/ui_lists/call_back_window.h"
#include "tests/agentphone/lists/list_fakes.h"

namespace agentphone::ui_lists {
namespace {

using namespace lists;
using namespace lists::testing;

// Makes a file read-only for whoever runs the test: its mode, and for the superuser, whom the
// mode does not stop, the file system's immutable flag. Undone by Undo and the destructor.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(std::filesystem::path file) : file_(std::move(file)) {
    ::chmod(file_.c_str(), 0444);
    if (::geteuid() == 0) immutable_ = SetImmutable(true);
    const int fd = ::open(file_.c_str(), O_RDWR);
    readOnly_ = fd < 0;
    if (fd >= 0) ::close(fd);
  }
  ~ReadOnlyFile() { Undo(); }
  bool readOnly() const { return readOnly_; }
  void Undo() {
    if (immutable_) SetImmutable(false);
    immutable_ = false;
    ::chmod(file_.c_str(), 0644);
  }

 private:
  bool SetImmutable(bool on) {
    const int fd = ::open(file_.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
  }

  std::filesystem::path file_;
  bool immutable_ = false;
  bool readOnly_ = false;
};

struct FailedSaveTest : ::testing::Test {
  FailedSaveTest() {
    char templ[] = "/tmp/agentphone-save-XXXXXX";
    folder = ::mkdtemp(templ);
  }
  ~FailedSaveTest() override {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  std::string Setting() const { return "SQLITE=" + (folder / "lists.db").string(); }

  std::filesystem::path folder;
  FakePhone phone;
  FakeDialogs dialogs;
  ManualClock clock{{2026, 3, 4, 10, 0, 0}};
};

TEST_F(FailedSaveTest, AReadOnlyFileKeepsTheAgentsEntriesForTheSaveThatFollows) {
  {
    db::SqlConnection admin("admin", ParseConnectionSetting(Setting(), {}));
    std::string error;
    ASSERT_TRUE(admin.Open(&error)) << error;
    for (const Statement& s : db::DemoRowStatements("20260304")) ASSERT_TRUE(admin.Execute(s).ok);
  }
  ReadOnlyFile readOnly(folder / "lists.db");
  if (!readOnly.readOnly()) GTEST_SKIP() << "the file cannot be made read-only here";

  db::ConnectionThread db("lists", ParseConnectionSetting(Setting(), {}));
  CallBackWindow w(db, phone, dialogs, clock);
  w.show();
  w.Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  auto* table = w.findChild<QTableWidget*>(QStringLiteral("spReal"));
  ASSERT_EQ(table->rowCount(), 2);
  table->setCurrentCell(0, 0);  // CB0001, no attempt yet
  w.findChild<QRadioButton*>(QStringLiteral("SSOption1_2"))->click();  // busy
  auto* save = w.findChild<QPushButton*>(QStringLiteral("cmdCallBackSave"));
  save->click();

  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].find("readonly"), std::string::npos) << dialogs.messages[0];
  ASSERT_EQ(phone.log.size(), 1u);
  EXPECT_EQ(phone.log[0], std::string(kLogSaveFailed) + "CB0001 : " + dialogs.messages[0]);
  auto box = [&](const char* name) {
    return w.findChild<QLineEdit*>(QString::fromLatin1(name))->text().toStdString();
  };
  EXPECT_EQ(box("txtCallBackCode"), "CB0001");
  EXPECT_EQ(box("txtAniNum"), "02-1234-5678");
  EXPECT_EQ(box("txtTryCnt"), "0");
  EXPECT_TRUE(w.findChild<QRadioButton*>(QStringLiteral("SSOption1_2"))->isChecked());
  EXPECT_EQ(table->currentRow(), 0);
  if (const char* shots = std::getenv("AGENTPHONE_SHOTS")) {
    std::filesystem::create_directories(shots);
    EXPECT_TRUE(w.grab().save(QString::fromStdString(std::string(shots) + "/failed-save.png")));
  }

  // The file can be written again: the same save, nothing entered again.
  readOnly.Undo();
  save->click();
  EXPECT_EQ(dialogs.messages.size(), 1u) << dialogs.messages.back();
  EXPECT_EQ(table->item(0, 4)->text().toStdString(), "1");
  EXPECT_EQ(table->item(0, 5)->text().toStdString(), "통화중");
  EXPECT_EQ(box("txtCallBackCode"), "");  // the search after a save empties the details
}

}  // namespace
}  // namespace agentphone::ui_lists
