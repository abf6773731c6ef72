#include "safety/TfrmBug.h"

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

TfrmBug::TfrmBug(QWidget *parent)
    : QDialog(parent)
    , EditTitle(new QLineEdit(QString::fromUtf8(kFixedSubject)))
    , EditContent(new QPlainTextEdit)
    , cmdSave(new QPushButton(tr("提交(&S)")))
    , cmdCancel(new QPushButton(tr("退出(&X)")))
{
    setWindowTitle(tr("Zorvik[Oribel] BUG/建议提交"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    new EnterAsTabFilter(this);

    auto *fields = new QFormLayout;
    fields->addRow(tr("主题"), EditTitle);
    fields->addRow(tr("内容"), EditContent);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(cmdSave, QDialogButtonBox::ActionRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    cmdSave->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(buttons);
    setFixedSize(480, 320);
    EditContent->setFocus();

    connect(cmdSave, &QPushButton::clicked, this, &TfrmBug::cmdSaveClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmBug::cmdSaveClick()
{
    // The subject box can be edited, so the message carries what it shows.
    const QString subject = EditTitle->text().trimmed();
    const std::optional<QUrl> mail
        = feedbackMail(subject.isEmpty() ? QString::fromUtf8(kFixedSubject) : subject, EditContent->toPlainText());
    if (!mail) {
        platform::prompter().message(tr("提交的内容太长，邮件程序无法完整接收，请删减后再提交！"),
                                     platform::Prompter::Icon::Warning);
        return;
    }
    platform::shell().openUrl(*mail);
}

void ShowFeedbackWindow()
{
    TfrmBug window;
    platform::execModal(window);
}
