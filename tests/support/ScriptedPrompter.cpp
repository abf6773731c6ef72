#include "ScriptedPrompter.h"

ScriptedPrompter::ScriptedPrompter()
{
    platform::setPrompter(this);
}

ScriptedPrompter::~ScriptedPrompter()
{
    platform::setPrompter(nullptr);
}

QVariant ScriptedPrompter::takeAnswer()
{
    return m_answers.isEmpty() ? QVariant() : m_answers.dequeue();
}

std::optional<QString> ScriptedPrompter::takeText()
{
    const QVariant answer = takeAnswer();
    if (!answer.isValid())
        return std::nullopt;
    return answer.toString();
}

void ScriptedPrompter::message(const QString &text, Icon, const std::optional<QString> &title)
{
    m_shown.append(text);
    m_titles.append(title.value_or(platform::applicationTitle()));
}

bool ScriptedPrompter::confirm(const QString &text)
{
    m_shown.append(text);
    const QVariant answer = takeAnswer();
    return !answer.isValid() || answer.toBool();
}

std::optional<QString> ScriptedPrompter::inputText(const QString &title, const QString &label, const QString &)
{
    m_shown.append(label);
    m_titles.append(title);
    return takeText();
}

std::optional<QString> ScriptedPrompter::inputPassword(const QString &, const QString &label)
{
    m_shown.append(label);
    return takeText();
}

std::optional<QString> ScriptedPrompter::openFileName(const FileRequest &request)
{
    m_fileRequests.append(request);
    return takeText();
}

std::optional<QString> ScriptedPrompter::saveFileName(const FileRequest &request)
{
    m_fileRequests.append(request);
    return takeText();
}

std::optional<QString> ScriptedPrompter::existingFolder(const QString &title, const QString &)
{
    m_shown.append(title);
    return takeText();
}

std::optional<QColor> ScriptedPrompter::color(const QColor &)
{
    const QVariant answer = takeAnswer();
    if (!answer.isValid())
        return std::nullopt;
    return answer.value<QColor>();
}

std::optional<QFont> ScriptedPrompter::font(const QFont &)
{
    const QVariant answer = takeAnswer();
    if (!answer.isValid())
        return std::nullopt;
    return answer.value<QFont>();
}
