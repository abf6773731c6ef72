#pragma once

#include <QWidget>

class FolderList;
class QLabel;
class QLineEdit;
class QPushButton;

// The tab of favourite search sites: pick a site, type keywords, and the site's search
// page opens in the browser.
class SearchTab : public QWidget
{
    Q_OBJECT
public:
    explicit SearchTab(QWidget *parent = nullptr);

    // Reloads the sites in name order and selects the first; false (after saying so) keeps
    // the former items.
    bool loadSites();

    // The caption names the selected site; with `focusKeywords`, and the page in view, the
    // keyword box takes the focus, ready for typing.
    void applySelection(bool focusKeywords);
    void searchOnSelectedSite();
    void openSelectedSite();

    FolderList *m_siteList;
    QLabel *m_siteLabel;
    QLineEdit *m_keywordsEdit;
    QPushButton *m_searchButton;
};
