// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The help: the program's HTML pages of the current language in a browser with back,
// forward and contents, opened on the topic of the window in front.

#include <QDialog>

class QTextBrowser;
class QToolButton;

namespace tarnwick::app {

class THelpBrowser : public QDialog {
  Q_OBJECT

 public:
  THelpBrowser(QWidget* parent, const QString& page);

  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
  QToolButton* back_;
  QToolButton* forward_;
  QToolButton* contents_;
};

// Shows the page of a help context (1 main window, 2 game and pay table, 3 editor, 4 charts,
// 6 all holds, 7 statistics, 8 practice) over `parent`, modally; when the language has no
// such page and the English pages have none either, a message that the help pages are
// missing, naming the folder they were looked for in.
void ShowHelpTopic(QWidget* parent, int context);

}  // namespace tarnwick::app
