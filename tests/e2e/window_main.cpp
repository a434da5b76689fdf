// The window tests own the application object and run on the offscreen platform, with the
// program's font.
#include <gtest/gtest.h>

#include <QApplication>

#include "agentphone/ui/program_font.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  agentphone::ui::UseProgramFont();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
