// The window tests own the application object; without a display they run on the offscreen
// platform. The Korean font is the application's font, as in the program.
#include <gtest/gtest.h>

#include <QApplication>

#include "agentphone/ui/program_font.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY") &&
      !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  agentphone::ui::UseProgramFont();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
