// The rules of the two number boxes (the dial pad's and the consultation dialog's): which typed
// characters pass, and what a number must look like to be handed back.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace agentphone::ui {

class MessageBoxes;

// Message of a number shorter than 4 characters, under the program's title.
inline constexpr const char* kWrongNumberText = "잘못된 전화번호 입니다. 확인하세요!!!";
// Message of a typed character that is not accepted, and its title.
inline constexpr const char* kDigitsOnlyText = "반드시 숫자만 입력하십시요.";
inline constexpr const char* kDigitsOnlyTitle = "SoftPhone";

// A typed character that the box takes: a digit, Backspace, "*" or "#".
bool IsDialKey(QChar c);

// The text without leading and trailing blanks when it has at least 4 characters; else empty.
QString DialNumber(const QString& text);

// Filters the key presses of a number box: a key whose text holds a printable character that
// IsDialKey refuses is dropped and "반드시 숫자만 입력하십시요." is shown. Every other key passes
// to the box and its dialog: keys without a text (arrows, Home, End) and keys whose text is a
// control character (Delete "\x7f" and Backspace "\b" on X11, Enter, Escape, Tab), so that the
// box edits, selects, cuts and pastes as any text box; and keys held with Ctrl or Meta, the
// box's shortcuts, whatever text a platform gives them. Text that an input method hands over
// (Hangul on a Korean desk) comes without a key press and is held to the same rule.
class DialKeyFilter final : public QObject {
 public:
  DialKeyFilter(MessageBoxes& boxes, QWidget* dialog);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Refuse();

  MessageBoxes& boxes_;
  QWidget* dialog_;
};

}  // namespace agentphone::ui
