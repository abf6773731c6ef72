#include "document/SpecialCharacterDialog.h"

#include "platform/ModalDialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The GB2312 symbol rows, then further symbols of GBK, one per cell in this order. U+E7C7
// and U+E7C8 are where GBK's A8BC and A8BF map to; they show as whatever the font has there.
constexpr QStringView specialCharacters =
    u"。·ˉˇ¨〃々—～‖…‘’“”〔〕〈〉《》「」『』〖〗【】±×÷∶∧∨∑∏∪∩∈∷√⊥∥∠⌒⊙∫∮≡≌≈∽∝≠≮≯≤≥∞∵∴♂♀°′″℃＄¤￠￡‰§№☆★○●◎◇◆□■△▲※→←↑↓〓ⅰⅱⅲⅳⅴⅵⅶⅷⅸⅹ⒈⒉⒊⒋⒌⒍⒎⒏⒐⒑⒒⒓⒔⒕⒖⒗⒘⒙⒚⒛⑴⑵⑶⑷⑸⑹⑺⑻⑼⑽⑾⑿⒀⒁⒂⒃⒄⒅⒆⒇①②③④⑤⑥⑦⑧⑨⑩㈠㈡㈢㈣㈤㈥㈦㈧㈨㈩ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩⅪⅫ"
    u"！＂＃￥％＆＇（）＊＋，－．／［＼］＾＿｀２３４５６７８９：；＜＝＞？＠｛｜｝￣ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ"
    u"ＰＱＲＳＴＵＶＷＸＹＺａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζ"
    u"ηθικλμνξοπρστυφχψω︵︶︹︺︿﹀︽︾﹁﹂﹃﹄︻︼︷︸︱︳︴ˊˋ˙–―‥‵℅℉↖↗"
    u"↘↙∕∟∣≒≦≧⊿═║╨╩╪╫╬╭╮╯╰╱╲╳▁▂▃▄▅▆▇█▉▊▋▌▍▎▏"
    u"▓▔▕▼▽◢◣◤◥☉⊕〒〝〞āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüêɑ\uE7C7ńň\uE7C8ɡ〡〢〣〤〥〦〧〨〩㊣"
    u"㎎㎏㎜㎝㎞㎡㏄㏎㏑㏒㏕︰￢￤℡㈱‐ー゛゜ヽヾ〆ゝゞ﹉﹊﹋﹌﹍﹎﹏﹐﹑﹒﹔﹕﹖﹗﹙﹚﹛﹜﹝﹞﹟﹠﹡﹢"
    u"﹣﹤﹥﹦﹨﹩﹪﹫〇─━│┃┄┅┆┇┈┉┊┋┌";

constexpr int columnCount = 30;
constexpr int rowCount = 18;
constexpr int cellSize = 20;
constexpr QSize clientSize(636, 425);

void fixSections(QHeaderView *header)
{
    header->hide();
    header->setMinimumSectionSize(cellSize);
    header->setDefaultSectionSize(cellSize);
    header->setSectionResizeMode(QHeaderView::Fixed);
}

} // namespace

SpecialCharacterDialog::SpecialCharacterDialog(QWidget *parent)
    : QDialog(parent)
    , m_characterGrid(new QTableWidget(rowCount, columnCount))
    , m_chooseButton(new QPushButton(tr("选中(&S)")))
    , m_exitButton(new QPushButton(tr("退出(&X)")))
{
    setWindowTitle(tr("选择特殊字符"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    fixSections(m_characterGrid->horizontalHeader());
    fixSections(m_characterGrid->verticalHeader());
    m_characterGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_characterGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_characterGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_characterGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_characterGrid->setFixedSize(columnCount * cellSize + 2 * m_characterGrid->frameWidth(),
                       rowCount * cellSize + 2 * m_characterGrid->frameWidth());
    // A light selection keeps the red of the selected symbol readable.
    QPalette palette = m_characterGrid->palette();
    palette.setColor(QPalette::Highlight, QColor(0xdd, 0xee, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::red);
    m_characterGrid->setPalette(palette);

    for (qsizetype k = 0; k < specialCharacters.size(); ++k) {
        auto *item = new QTableWidgetItem(specialCharacters.at(k));
        item->setTextAlignment(Qt::AlignCenter);
        m_characterGrid->setItem(int(k / columnCount), int(k % columnCount), item);
    }
    // A selection from the start, so choosing at once takes the first symbol.
    m_characterGrid->setCurrentCell(0, 0);

    m_chooseButton->setDefault(true); // Enter on the grid chooses, like the button
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_chooseButton);
    buttons->addWidget(m_exitButton);

    // Side margins that line the buttons up with the grid's right edge.
    auto *layout = new QVBoxLayout(this);
    const int side = (clientSize.width() - m_characterGrid->width()) / 2;
    layout->setContentsMargins(side, side, side, layout->contentsMargins().bottom());
    layout->addWidget(m_characterGrid);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(clientSize.expandedTo(minimumSizeHint()));

    connect(m_chooseButton, &QPushButton::clicked, this, &SpecialCharacterDialog::chooseSelectedCharacter);
    connect(m_exitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_characterGrid, &QTableWidget::cellDoubleClicked, this, &SpecialCharacterDialog::chooseSelectedCharacter);
}

void SpecialCharacterDialog::chooseSelectedCharacter()
{
    const QList<QTableWidgetItem *> selected = m_characterGrid->selectedItems();
    if (selected.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(selected.first()->text());
    m_chosen = true;
    accept();
}

bool pickSpecialCharacter()
{
    SpecialCharacterDialog window;
    platform::execModal(window);
    return window.chosen();
}
