#include "agentphone/ui/dial_entry.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

#include "agentphone/ui/message_boxes.h"

namespace agentphone::ui {

bool IsDialKey(QChar c) {
  return (c >= u'0' && c <= u'9') || c == u'\b' || c == u'*' || c == u'#';
}

QString DialNumber(const QString& text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && text[begin] == u' ') ++begin;
  while (end > begin && text[end - 1] == u' ') --end;
  if (end - begin < 4) return {};
  return text.mid(begin, end - begin);
}

DialKeyFilter::DialKeyFilter(MessageBoxes& boxes, QWidget* dialog)
    : QObject(dialog), boxes_(boxes), dialog_(dialog) {}

namespace {

bool HoldsRefused(const QString& text) {
  for (QChar c : text) {
    if (c.isPrint() && !IsDialKey(c)) return true;
  }
  return false;
}

}  // namespace

void DialKeyFilter::Refuse() {
  boxes_.Inform(dialog_, QString::fromUtf8(kDigitsOnlyTitle), QString::fromUtf8(kDigitsOnlyText),
                MessageIcon::kNone);
}

bool DialKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::InputMethod) {
    // Composed text is dropped whole, as its keys would be; the box still ends the composition.
    auto* composed = static_cast<QInputMethodEvent*>(event);
    if (!HoldsRefused(composed->commitString())) return false;
    composed->setCommitString(QString());
    QCoreApplication::sendEvent(watched, composed);
    Refuse();
    return true;
  }
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
  if (!HoldsRefused(key->text())) return false;
  Refuse();
  return true;
}

}  // namespace agentphone::ui
