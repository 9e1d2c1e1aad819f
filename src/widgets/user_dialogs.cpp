#include "widgets/user_dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace tonobild {

void DesktopDialogs::message(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString DesktopDialogs::askText(QWidget* parent, const QString& title, const QString& prompt)
{
    bool accepted = false;
    const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, QString(), &accepted);
    return accepted ? answer : QString();
}

bool DesktopDialogs::ask(QWidget* parent, const QString& title, const QString& question)
{
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void DesktopDialogs::beep()
{
    QApplication::beep();
}

} // namespace tonobild
