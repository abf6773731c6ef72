#include "sync/SyncSettingsDialog.h"

#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "sync/SyncController.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const int kIntervals[] = {5, 15, 60, 0};

} // namespace

SyncSettingsDialog::SyncSettingsDialog(Database &db, SyncController &controller, QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_controller(controller)
{
    setWindowTitle(tr("同步设置"));
    auto *layout = new QVBoxLayout(this);

    auto *accountBox = new QGroupBox(tr("服务器和帐号"), this);
    auto *accountForm = new QFormLayout(accountBox);
    m_serverEdit = new QLineEdit(accountBox);
    m_serverEdit->setPlaceholderText(tr("例如 https://dav.example.com/"));
    m_userEdit = new QLineEdit(accountBox);
    m_passwordEdit = new QLineEdit(accountBox);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_passwordPlaceLabel = new QLabel(accountBox);
    m_passwordPlaceLabel->setWordWrap(true);
    m_testButton = new QPushButton(tr("测试连接"), accountBox);
    accountForm->addRow(tr("服务器地址"), m_serverEdit);
    accountForm->addRow(tr("用户名"), m_userEdit);
    accountForm->addRow(tr("密码"), m_passwordEdit);
    accountForm->addRow(QString(), m_passwordPlaceLabel);
    accountForm->addRow(QString(), m_testButton);
    layout->addWidget(accountBox);

    auto *whatBox = new QGroupBox(tr("同步内容"), this);
    auto *whatForm = new QFormLayout(whatBox);
    m_taskListCombo = new QComboBox(whatBox);
    m_addressBookCombo = new QComboBox(whatBox);
    m_intervalCombo = new QComboBox(whatBox);
    m_intervalCombo->addItems({tr("每5分钟"), tr("每15分钟"), tr("每60分钟"), tr("只手动同步")});
    whatForm->addRow(tr("事务同步到任务列表"), m_taskListCombo);
    whatForm->addRow(tr("通讯录同步到"), m_addressBookCombo);
    whatForm->addRow(tr("自动同步"), m_intervalCombo);
    layout->addWidget(whatBox);

    auto *stateBox = new QGroupBox(tr("同步状态"), this);
    auto *stateForm = new QFormLayout(stateBox);
    m_lastSyncLabel = new QLabel(stateBox);
    m_lastResultLabel = new QLabel(stateBox);
    m_lastErrorLabel = new QLabel(stateBox);
    for (QLabel *label : {m_lastResultLabel, m_lastErrorLabel})
        label->setWordWrap(true);
    stateForm->addRow(tr("上次同步"), m_lastSyncLabel);
    stateForm->addRow(tr("同步结果"), m_lastResultLabel);
    stateForm->addRow(tr("上次错误"), m_lastErrorLabel);
    layout->addWidget(stateBox);

    auto *buttons = new QHBoxLayout;
    m_syncNowButton = new QPushButton(tr("立即同步"), this);
    m_saveButton = new QPushButton(tr("保存(&S)"), this);
    m_cancelButton = new QPushButton(tr("取消(&X)"), this);
    buttons->addWidget(m_syncNowButton);
    buttons->addStretch();
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);

    connect(m_testButton, &QPushButton::clicked, this, &SyncSettingsDialog::testConnection);
    connect(m_syncNowButton, &QPushButton::clicked, this, &SyncSettingsDialog::syncNow);
    connect(m_saveButton, &QPushButton::clicked, this, [this] {
        if (saveAccount())
            accept();
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_controller, &SyncController::progress, this, [this](const QString &line) { m_lastResultLabel->setText(line); });
    setMinimumWidth(540);
}

void SyncSettingsDialog::loadAccount()
{
    m_stored = syncaccount::load(m_db);
    const SyncAccount &account = m_stored.account;
    m_serverEdit->setText(account.serverUrl);
    m_userEdit->setText(account.userName);
    m_passwordEdit->setText(account.password);
    fillCollections(m_taskListCombo, {}, account.taskListUrl);
    fillCollections(m_addressBookCombo, {}, account.addressBookUrl);
    const int interval = int(std::find(std::begin(kIntervals), std::end(kIntervals), m_stored.syncMinutes) - std::begin(kIntervals));
    m_intervalCombo->setCurrentIndex(interval < 4 ? interval : 3);
    showState(m_stored);
}

void SyncSettingsDialog::showState(const StoredSyncAccount &stored)
{
    using Place = StoredSyncAccount::PasswordPlace;
    m_passwordPlaceLabel->setText(stored.passwordPlace == Place::SecretStore ? tr("密码保存在系统密钥环中。")
                                  : stored.passwordPlace == Place::Database
                                      ? tr("没有可用的系统密钥环，密码加密保存在本软件数据库中。")
                                      : tr("保存后密码存入系统密钥环（没有时加密存入数据库）。"));
    m_lastSyncLabel->setText(stored.lastSync.isValid() ? stored.lastSync.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : tr("从未同步"));
    m_lastResultLabel->setText(stored.lastResult);
    m_lastErrorLabel->setText(stored.lastError.isEmpty() ? tr("无") : stored.lastError);
    // A long error takes more lines: the window grows to show them whole.
    adjustSize();
}

void SyncSettingsDialog::fillCollections(QComboBox *combo, const QList<SyncCollectionInfo> &found, const QString &chosen)
{
    combo->clear();
    combo->addItem(tr("（不同步）"), QString());
    for (const SyncCollectionInfo &info : found)
        combo->addItem(info.name, info.url);
    if (!chosen.isEmpty() && combo->findData(chosen) < 0)
        combo->addItem(chosen, chosen);
    const int index = combo->findData(chosen);
    // A single list found is the one to use.
    combo->setCurrentIndex(index > 0 ? index : found.size() == 1 ? 1 : 0);
}

SyncAccount SyncSettingsDialog::accountInBoxes() const
{
    SyncAccount account = m_stored.account;
    QString server = m_serverEdit->text().trimmed();
    if (!server.isEmpty() && !server.contains(QStringLiteral("://")))
        server.prepend(QStringLiteral("https://"));
    if (account.serverUrl != server) {
        // What was accepted for another server is not carried over.
        account.plainHttpAllowed = false;
    }
    account.serverUrl = server;
    account.userName = m_userEdit->text().trimmed();
    account.password = m_passwordEdit->text();
    account.taskListUrl = m_taskListCombo->currentData().toString();
    account.addressBookUrl = m_addressBookCombo->currentData().toString();
    return account;
}

bool SyncSettingsDialog::testConnection()
{
    platform::Prompter &prompter = platform::prompter();
    SyncAccount account = accountInBoxes();
    const QUrl url(account.serverUrl);
    if (account.serverUrl.isEmpty() || !url.isValid() || url.host().isEmpty()
        || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http"))) {
        prompter.message(tr("请输入正确的服务器地址，例如 https://dav.example.com/"), platform::Prompter::Icon::Warning);
        return false;
    }
    if (url.scheme() == QLatin1String("http") && !DavClient::isLocalHost(url) && !account.plainHttpAllowed) {
        if (!prompter.confirm(tr("服务器地址以 http 开头，不加密：密码和数据会以明文在网络上传输，可能被他人截取。\n"
                                 "确实要使用这个地址吗？")))
            return false;
        account.plainHttpAllowed = true;
    }
    SyncEngine engine(m_db, m_controller.network());
    SyncOutcome found = engine.discover(account);
    if (found.failure == DavReply::Failure::Certificate) {
        if (!prompter.confirm(tr("服务器 %1 的证书不受系统信任，可能是自签名证书，也可能有人冒充服务器。\n"
                                 "证书的 SHA-256 指纹：\n%2\n请与服务器管理员核对指纹。确实要信任这个证书吗？")
                                  .arg(found.serverKey, found.fingerprint)))
            return false;
        account.trustedCertificates.append(found.serverKey + QLatin1Char(' ') + found.fingerprint);
        found = engine.discover(account);
    }
    if (!found.ok) {
        prompter.message(tr("连接失败：%1").arg(found.error), platform::Prompter::Icon::Warning);
        return false;
    }
    m_stored.account.plainHttpAllowed = account.plainHttpAllowed;
    m_stored.account.trustedCertificates = account.trustedCertificates;
    fillCollections(m_taskListCombo, found.taskLists, account.taskListUrl);
    fillCollections(m_addressBookCombo, found.addressBooks, account.addressBookUrl);
    prompter.message(tr("连接成功：找到 %1 个任务列表、%2 个通讯录。").arg(found.taskLists.size()).arg(found.addressBooks.size()));
    return true;
}

bool SyncSettingsDialog::saveAccount()
{
    const SyncAccount account = accountInBoxes();
    if (account.serverUrl.isEmpty() || account.userName.isEmpty()) {
        platform::prompter().message(tr("请输入服务器地址和用户名！"), platform::Prompter::Icon::Warning);
        return false;
    }
    if (account.taskListUrl.isEmpty() && account.addressBookUrl.isEmpty()) {
        platform::prompter().message(tr("请先测试连接，再选择要同步的任务列表或通讯录！"), platform::Prompter::Icon::Warning);
        return false;
    }
    // Another list than before: its items are compared afresh at the next sync.
    m_stored.account = account;
    m_stored.syncMinutes = kIntervals[std::clamp(m_intervalCombo->currentIndex(), 0, 3)];
    if (!syncaccount::save(m_db, m_stored)) {
        platform::prompter().message(tr("存储同步设置发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    showState(m_stored);
    return true;
}

void SyncSettingsDialog::syncNow()
{
    if (!saveAccount())
        return;
    m_syncNowButton->setEnabled(false);
    const SyncOutcome outcome = m_controller.syncNow();
    m_syncNowButton->setEnabled(true);
    m_stored = syncaccount::load(m_db);
    showState(m_stored);
    if (!outcome.ok)
        platform::prompter().message(tr("同步没有完成：%1").arg(outcome.error), platform::Prompter::Icon::Warning);
}

void showSyncSettings(Database &db, SyncController &controller, QWidget *parent)
{
    SyncSettingsDialog dialog(db, controller, parent);
    dialog.loadAccount();
    platform::execModal(dialog);
}
