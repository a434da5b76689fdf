// The program's font: a Korean font (NanumGothic, 9 points) as the application's font when it
// is installed, so that every caption shows its Hangul glyphs.
#pragma once

namespace agentphone::ui {

// True when the Korean font was found and set.
bool UseProgramFont();

}  // namespace agentphone::ui
