// Small pieces shared by the two list windows.
#pragma once

#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QString>
#include <QTableWidget>
#include <string>

#include "agentphone/core/lists/list_date.h"

namespace agentphone::ui_lists {

inline QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string S(const QString& s) { return s.toUtf8().toStdString(); }

inline QPushButton* Button(const char* name, std::string_view caption, QWidget* parent) {
  auto* b = new QPushButton(Q(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

inline QLineEdit* Box(const char* name, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  return e;
}

// A date picker whose calendar names months and weekdays in Korean, as the windows speak
// Korean, whatever the desk's locale.
inline QDateEdit* Picker(const char* name, QWidget* parent) {
  auto* d = new QDateEdit(parent);
  d->setObjectName(QString::fromLatin1(name));
  d->setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
  d->setCalendarPopup(true);
  d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  return d;
}

inline lists::ListDate DateOf(const QDateEdit* d) {
  const QDate q = d->date();
  return {q.year(), q.month(), q.day()};
}

inline void SetDate(QDateEdit* d, const lists::ListDate& date) {
  d->setDate(QDate(date.year, date.month, date.day));
}

inline constexpr std::string_view kWaitingText = "DB 응답을 기다리는 중입니다...";

// The note of a list window that its database keeps it waiting; hidden until then.
inline QLabel* WaitNote(QWidget* parent) {
  auto* note = new QLabel(Q(kWaitingText), parent);
  note->setObjectName(QStringLiteral("lblWait"));
  // The window is disabled while it waits; its note is the one thing to read then, so it keeps
  // the colour of enabled text.
  QPalette palette = note->palette();
  palette.setColor(QPalette::Disabled, QPalette::WindowText,
                   palette.color(QPalette::Active, QPalette::WindowText));
  note->setPalette(palette);
  note->setVisible(false);
  return note;
}

// While its database keeps it waiting, a list window takes no input, shows its note and the
// wait cursor.
inline void ShowWaiting(QWidget* window, bool waiting) {
  window->setEnabled(!waiting);
  if (auto* note = window->findChild<QLabel*>(QStringLiteral("lblWait"))) note->setVisible(waiting);
  if (waiting) {
    window->setCursor(Qt::WaitCursor);
  } else {
    window->unsetCursor();
  }
}

// Cell clicks, header clicks and row changes of a list's table, in the grid's numbering.
template <typename List>
void ConnectTable(QTableWidget* table, List* list) {
  QObject::connect(table, &QTableWidget::cellClicked, table,
                   [list](int row, int col) { list->spReal_Click(col + 1, row + 1); });
  QObject::connect(table->horizontalHeader(), &QHeaderView::sectionClicked, table,
                   [list](int col) { list->spReal_Click(col + 1, 0); });
  QObject::connect(table, &QTableWidget::currentCellChanged, table,
                   [list](int row, int, int previousRow, int) {
                     if (row >= 0 && row != previousRow) list->spReal_LeaveCell(row + 1);
                   });
}

}  // namespace agentphone::ui_lists
