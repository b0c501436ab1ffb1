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
  ~THelpBrowser() override;
  // Turns to `page`; back returns to the page before.
  void Open(const QString& page);

  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
  QToolButton* back_;
  QToolButton* forward_;
  QToolButton* contents_;
};

// The help topic of each window: the number of its page in the language file's help list.
enum class THelpContext : int {
  Main = 1,
  Game = 2,
  Editor = 3,
  Charts = 4,
  AllHolds = 6,
  Statistics = 7,
  Practice = 8,
  Strategy = 9,
};

// Shows the page of a help context. The help stays open beside the windows (one help
// window, turned to the new page); asked for from a modal dialog, it opens modally over
// it. When the language has no such page and the English pages have none either, a
// message says that the help pages are missing, naming the folder they were looked for in.
void ShowHelpTopic(QWidget* parent, THelpContext context);

// F1 in `window` (and in every widget of it) shows the help of `context`.
void AddHelpKey(QWidget* window, THelpContext context);

// The help window beside the others, null while none is open.
THelpBrowser* OpenHelp();

}  // namespace tarnwick::app
