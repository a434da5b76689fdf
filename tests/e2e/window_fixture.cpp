#include "tests/e2e/window_fixture.h"

#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/harness/desk_events.h"

namespace desk::test {

CallParty FirstParty(const ctisim::Request& r) {
  ctisim::FrameReader f = r.Fields();
  CallParty p;
  p.call = f.GetU32();
  p.device = f.GetStr8();
  return p;
}

WindowTest::WindowTest()
    : server_(std::make_unique<DeskServer>("4001")), startDir_(std::filesystem::current_path()) {
  watch_.setInterval(5);
  QObject::connect(&watch_, &QTimer::timeout, [this] { WatchDialogs(); });
}

WindowTest::~WindowTest() {
  watch_.stop();
  window_ = nullptr;
  program_.reset();  // the controls and the library's sessions end here
  std::filesystem::current_path(startDir_);
  if (HasFailure()) std::cerr << Report();
}

void WindowTest::StartDesk(const std::function<void(DeskConfig&)>& edit) {
  desk_ = std::make_unique<AgentDesk>(Programs(), LocalDesk(server_->Port(), web_, edit));
  std::string why;
  ASSERT_TRUE(desk_->Ready(&why)) << why;

  // What the process tests give the program in its environment; the library writes its logs
  // into the working folder.
  ::setenv("VOMTEL_REGISTRY", (desk_->Root() / "registry.reg").c_str(), 1);
  ::setenv("VOMTEL_DRIVE_ROOT", (desk_->Root() / "drives").c_str(), 1);
  ::unsetenv("AGENTPHONE_HOME");
  std::filesystem::current_path(desk_->Root() / "work");

  program_ = std::make_unique<agentphone::app::DeskProgram>(boxes_);
  const std::optional<int> rc = program_->Start({"--home", desk_->Folder().string()});
  ASSERT_FALSE(rc) << "the desk did not start: " << *rc;
  window_ = program_->Window();
  ASSERT_NE(window_, nullptr);
}

void WindowTest::StartLoggedIn(int mode, const std::function<void(DeskConfig&)>& edit) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(edit));
  ASSERT_TRUE(Until([&] { return server_->CountAgentStates(mode) > 0; })) << Report();
  // The agent-state event of the request has been shown: the window takes other work (a press,
  // a dial) between two events, and one that came before it would find the agent elsewhere.
  ASSERT_TRUE(Until([&] { return Enabled("imgLogIn") && desk_->Trace().Handled(kLoggedOn + mode); }))
      << Report();
}

bool WindowTest::Until(const std::function<bool()>& probe, std::chrono::milliseconds wait) {
  return QTest::qWaitFor(probe, static_cast<int>(wait.count()));
}

void WindowTest::Press(const char* name) {
  QWidget* w = window_->findChild<QWidget*>(QString::fromLatin1(name));
  ASSERT_NE(w, nullptr) << name;
  ASSERT_TRUE(w->isEnabled()) << name << " is not enabled\n" << Report();
  QTest::mouseClick(w, Qt::LeftButton);
}

bool WindowTest::Enabled(const char* name) {
  QWidget* w = window_->findChild<QWidget*>(QString::fromLatin1(name));
  return w && w->isEnabled();
}

std::string WindowTest::Picture(const char* name) {
  QWidget* w = window_->findChild<QWidget*>(QString::fromLatin1(name));
  return w ? w->property("pictureName").toString().toStdString() : std::string();
}

std::string WindowTest::Caption() {
  auto* label = window_->findChild<QLabel*>(QStringLiteral("sStatue"));
  return label ? label->text().toStdString() : std::string();
}

std::optional<ctisim::Request> WindowTest::Request(std::uint8_t code, std::size_t nth) {
  std::optional<ctisim::Request> found;
  Until([&] {
    std::size_t seen = 0;
    for (const ctisim::Request& r : server_->Sim().Received()) {
      if (r.cls == 0x41 && r.code == code && ++seen == nth) {
        found = r;
        return true;
      }
    }
    return false;
  });
  return found;
}

std::size_t WindowTest::Count(std::uint8_t code) const {
  return server_->Sim().CountRequests(0x41, code);
}

void WindowTest::WhenShown(const char* name, std::function<void(QWidget*)> answer) {
  pending_.emplace_back(QString::fromLatin1(name), std::move(answer));
  watch_.start();
}

void WindowTest::WatchDialogs() {
  if (pending_.empty()) {
    watch_.stop();
    return;
  }
  QWidget* modal = QApplication::activeModalWidget();
  // A window that waits for its database takes no input yet.
  if (!modal || !modal->isVisible() || !modal->isEnabled() ||
      modal->objectName() != pending_.front().first) {
    return;
  }
  std::function<void(QWidget*)> answer = std::move(pending_.front().second);
  pending_.pop_front();
  answer(modal);
}

std::string WindowTest::Report() const {
  std::string text = desk_ ? "--- desk log ---\n" + desk_->Log().Tail() : std::string();
  for (const std::string& b : boxes_.informed) text += "message box: " + b + "\n";
  return text;
}

}  // namespace desk::test
