#pragma once

#include <QTreeWidget>
#include <optional>

// One entry of a launch list: a favourite folder (description and path) or a search site
// (name and address).
struct Folder {
    qint32 id = 0;
    QString name;
    QString path;
};

// The launch list of the folder and search pages: a read-only report of two columns, the
// name and the path or address, one item per row carrying its Folder record.
class FolderList : public QTreeWidget
{
    Q_OBJECT
public:
    FolderList(const QString &nameCaption, const QString &pathCaption, const QIcon &icon,
               QWidget *parent = nullptr);

    // Replaces the items by the rows of `sql` (its ID, name and path fields); nothing is
    // selected afterwards. False when the query fails: the items stay as they were.
    bool load(const QString &sql, const QString &nameField, const QString &pathField);
    std::optional<Folder> selectedFolder() const;
    void removeSelected();
    QList<Folder> folders() const;

signals:
    void enterPressed();
    void folderDoubleClicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QIcon m_icon;
};
