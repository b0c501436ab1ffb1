// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_browser.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "parts/qt_text.h"
#include "parts/window_place.h"
#include "session/preferences.h"

namespace tarnwick::app {

THelpBrowser::THelpBrowser(QWidget* parent, const QString& page) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Tarnwick"));
  setAccessibleName(QStringLiteral("Help"));
  browser_ = new QTextBrowser(this);
  browser_->setAccessibleName(QStringLiteral("Help page"));
  browser_->setOpenExternalLinks(true);
  const auto tool = [this](QStyle::StandardPixmap icon, const QString& name) {
    auto* button = new QToolButton(this);
    button->setIcon(style()->standardIcon(icon));
    button->setAccessibleName(name);
    button->setToolTip(name);
    return button;
  };
  back_ = tool(QStyle::SP_ArrowBack, QStringLiteral("Back"));
  forward_ = tool(QStyle::SP_ArrowForward, QStringLiteral("Forward"));
  contents_ = tool(QStyle::SP_DirHomeIcon, QStringLiteral("Contents"));
  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
  connect(contents_, &QToolButton::clicked, this, [this] {
    browser_->setSource(browser_->source().resolved(QUrl(QStringLiteral("index.htm"))));
  });
  connect(browser_, &QTextBrowser::sourceChanged, this,
          [this] { setWindowTitle(browser_->documentTitle()); });

  auto* tools = new QHBoxLayout;
  tools->addWidget(back_);
  tools->addWidget(forward_);
  tools->addWidget(contents_);
  tools->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(browser_, 1);
  // At its least a page still reads in lines of some forty letters, a dozen of them.
  const QFontMetrics metrics(browser_->font());
  browser_->setMinimumSize(40 * metrics.averageCharWidth(), 12 * metrics.lineSpacing());
  resize(560, 640);
  Open(page);
  RestoreWindowPlace(this, QStringLiteral("Help"), parent);
}

THelpBrowser::~THelpBrowser() {
  SaveWindowPlace(this, QStringLiteral("Help"));
}

void THelpBrowser::Open(const QString& page) {
  browser_->setSource(QUrl::fromLocalFile(page));
}

namespace {

// The one help window beside the others (made at its first use, not before main).
QPointer<THelpBrowser>& OpenHelpWindow() {
  static QPointer<THelpBrowser> open;
  return open;
}

}  // namespace

THelpBrowser* OpenHelp() {
  return OpenHelpWindow().data();
}

void AddHelpKey(QWidget* window, THelpContext context) {
  auto* help = new QAction(window);
  help->setShortcut(QKeySequence(Qt::Key_F1));
  help->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(help, &QAction::triggered, window,
                   [window, context] { ShowHelpTopic(window, context); });
  window->addAction(help);
}

void ShowHelpTopic(QWidget* parent, THelpContext context) {
  const TPreferences& preferences = Preferences();
  const std::filesystem::path page = preferences.HelpPage(static_cast<int>(context));
  if (page.empty()) {
    QMessageBox::information(parent, QStringLiteral("Tarnwick"),
                             Q(FormatText(preferences.Text("Messages", "HelpMissing"),
                                          {preferences.HelpFolder().string()})));
    return;
  }
  const QString file = QString::fromStdString(page.string());
  // A modal dialog takes all input: help asked for from it opens modally over it.
  if (QApplication::activeModalWidget() != nullptr) {
    THelpBrowser browser(parent, file);
    browser.exec();
    return;
  }
  QPointer<THelpBrowser>& openHelp = OpenHelpWindow();
  if (openHelp == nullptr) {
    // Beside the main window, so that it stays when the window that asked for it closes.
    QWidget* owner = parent->window();
    while (owner->parentWidget() != nullptr) owner = owner->parentWidget()->window();
    openHelp = new THelpBrowser(owner, file);
    openHelp->setAttribute(Qt::WA_DeleteOnClose);
  } else {
    openHelp->Open(file);
  }
  openHelp->show();
  openHelp->raise();
  openHelp->activateWindow();
}

}  // namespace tarnwick::app
