#pragma once

#include <QDialog>
#include <QUrl>
#include <optional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The feedback window: hands the user's text to the desktop's mail program as a new message
// to the support address. It stays open after each submission.
class FeedbackDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FeedbackDialog(QWidget *parent = nullptr);

    void submitFeedback();

    QLineEdit *m_subjectEdit;
    QPlainTextEdit *m_bodyEdit;
    QPushButton *m_submitButton;
    QPushButton *m_exitButton;
};

// Creates the window, shows it modally and destroys it.
void openFeedbackDialog();

// The mailto: address of a feedback message, subject and body percent-encoded (line breaks
// as CRLF); none when it would be too long for mail programs to take whole.
std::optional<QUrl> feedbackMail(const QString &subject, const QString &body);
