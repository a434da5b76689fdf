// The agent program: the desk put together on the application's thread, then the event loop
// until the window is closed or the desktop session ends.
#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "agentphone/app/desk_program.h"
#include "agentphone/app/session_end.h"
#include "agentphone/ui/message_boxes.h"
#include "agentphone/ui/program_font.h"
#include "agentphone/ui/qt_korean.h"
#include "agentphone/ui/soft_phone_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  agentphone::ui::UseProgramFont();
  // Without the translation the standard buttons keep their English texts.
  const std::unique_ptr<QTranslator> korean = agentphone::ui::UseQtKoreanTexts();
  agentphone::ui::QtMessageBoxes boxes;
  const std::vector<std::string> args(argv + 1, argv + argc);
  agentphone::app::DeskProgram desk(boxes);
  // The desktop session's end is caught from the start on, so that it cannot cut the login.
  agentphone::app::SessionEnd session(
      [&desk] { return desk.Window() && desk.Window()->isVisible(); },
      [&desk](std::string_view cause) { desk.EndSession(cause); });
  if (const std::optional<int> rc = desk.Start(args)) return *rc;
  return session.Run();
}
