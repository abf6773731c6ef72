#include "safety/FeedbackDialog.h"

#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "util/EnterAsTab.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char kSupportAddress[] = "support@zorvik.cn";
const char kFixedSubject[] = "ZorvikOribelBUG/建议提交";
// Mail programs and the browsers' mail handlers take whole addresses of this length; longer
// ones some of them cut without a word.
constexpr int kLongestAddress = 8000;

QByteArray encoded(const QString &text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return QUrl::toPercentEncoding(crlf);
}

} // namespace

std::optional<QUrl> feedbackMail(const QString &subject, const QString &body)
{
    const QByteArray address = QByteArray("mailto:") + kSupportAddress + "?subject=" + encoded(subject)
                               + "&body=" + encoded(body);
    if (address.size() > kLongestAddress)
        return std::nullopt;
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

FeedbackDialog::FeedbackDialog(QWidget *parent)
    : QDialog(parent)
    , m_subjectEdit(new QLineEdit(QString::fromUtf8(kFixedSubject)))
    , m_bodyEdit(new QPlainTextEdit)
    , m_submitButton(new QPushButton(tr("提交(&S)")))
    , m_exitButton(new QPushButton(tr("退出(&X)")))
{
    setWindowTitle(tr("Zorvik[Oribel] BUG/建议提交"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    new EnterAsTabFilter(this);

    auto *fields = new QFormLayout;
    fields->addRow(tr("主题"), m_subjectEdit);
    fields->addRow(tr("内容"), m_bodyEdit);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_submitButton, QDialogButtonBox::ActionRole);
    buttons->addButton(m_exitButton, QDialogButtonBox::RejectRole);
    m_submitButton->setAutoDefault(false);
    m_exitButton->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(buttons);
    setFixedSize(480, 320);
    m_bodyEdit->setFocus();

    connect(m_submitButton, &QPushButton::clicked, this, &FeedbackDialog::submitFeedback);
    connect(m_exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void FeedbackDialog::submitFeedback()
{
    // The subject box can be edited, so the message carries what it shows.
    const QString subject = m_subjectEdit->text().trimmed();
    const std::optional<QUrl> mail
        = feedbackMail(subject.isEmpty() ? QString::fromUtf8(kFixedSubject) : subject, m_bodyEdit->toPlainText());
    if (!mail) {
        platform::prompter().message(tr("提交的内容太长，邮件程序无法完整接收，请删减后再提交！"),
                                     platform::Prompter::Icon::Warning);
        return;
    }
    if (!platform::shell().openUrl(*mail))
        platform::prompter().message(tr("系统中没有找到邮件程序，请先安装一个邮件程序，或把意见发送到%1！")
                                         .arg(mail->path()),
                                     platform::Prompter::Icon::Warning);
}

void openFeedbackDialog()
{
    FeedbackDialog window;
    platform::execModal(window);
}
