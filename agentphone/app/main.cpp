// The agent program: the desk put together on the application's thread, then the event loop.
#include <QApplication>
#include <string>
#include <vector>

#include "agentphone/app/desk_program.h"
#include "agentphone/ui/message_boxes.h"
#include "agentphone/ui/program_font.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  agentphone::ui::UseProgramFont();
  agentphone::ui::QtMessageBoxes boxes;
  const std::vector<std::string> args(argv + 1, argv + argc);
  agentphone::app::DeskProgram desk(boxes);
  if (const std::optional<int> rc = desk.Start(args)) return *rc;
  return app.exec();
}
