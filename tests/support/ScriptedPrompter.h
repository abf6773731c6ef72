#pragma once

#include "platform/Prompter.h"

#include <QQueue>
#include <QStringList>
#include <QVariant>

// Records every prompt and answers from a queue. Questions with no scripted answer take the
// default (Yes; a cancelled input or dialog), so an unexpected prompt never blocks a test.
class ScriptedPrompter final : public platform::Prompter
{
public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;

    // Answers, taken in order by whichever prompt asks next.
    void answerYes() { m_answers.enqueue(true); }
    void answerNo() { m_answers.enqueue(false); }
    void answerText(const QString &text) { m_answers.enqueue(text); }
    void answerCancel() { m_answers.enqueue(QVariant()); }
    void answerColor(const QColor &color) { m_answers.enqueue(color); }

    // What was shown: the texts of messages and questions and the labels of inputs, in order.
    const QStringList &shown() const { return m_shown; }
    QString lastShown() const { return m_shown.isEmpty() ? QString() : m_shown.constLast(); }
    const QList<FileRequest> &fileRequests() const { return m_fileRequests; }
    // Titles of the message boxes and input boxes as shown, in order.
    const QStringList &titles() const { return m_titles; }

    void message(const QString &text, Icon icon, const std::optional<QString> &title) override;
    bool confirm(const QString &text) override;
    std::optional<QString> inputText(const QString &title, const QString &label,
                                     const QString &initial) override;
    std::optional<QString> inputPassword(const QString &title, const QString &label) override;
    std::optional<QString> openFileName(const FileRequest &request) override;
    std::optional<QString> saveFileName(const FileRequest &request) override;
    std::optional<QString> existingFolder(const QString &title, const QString &start) override;
    std::optional<QColor> color(const QColor &initial) override;
    std::optional<QFont> font(const QFont &initial) override;

private:
    QVariant takeAnswer();
    std::optional<QString> takeText();

    QQueue<QVariant> m_answers;
    QStringList m_shown;
    QStringList m_titles;
    QList<FileRequest> m_fileRequests;
};
