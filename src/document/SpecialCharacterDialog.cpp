#include "document/TfrmEspChar.h"

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

TfrmEspChar::TfrmEspChar(QWidget *parent)
    : QDialog(parent)
    , grid(new QTableWidget(rowCount, columnCount))
    , cmdSave(new QPushButton(tr("选中(&S)")))
    , cmdCancel(new QPushButton(tr("退出(&X)")))
{
    setWindowTitle(tr("选择特殊字符"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    fixSections(grid->horizontalHeader());
    fixSections(grid->verticalHeader());
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFixedSize(columnCount * cellSize + 2 * grid->frameWidth(),
                       rowCount * cellSize + 2 * grid->frameWidth());
    // A light selection keeps the red of the selected symbol readable.
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Highlight, QColor(0xdd, 0xee, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::red);
    grid->setPalette(palette);

    for (qsizetype k = 0; k < specialCharacters.size(); ++k) {
        auto *item = new QTableWidgetItem(specialCharacters.at(k));
        item->setTextAlignment(Qt::AlignCenter);
        grid->setItem(int(k / columnCount), int(k % columnCount), item);
    }
    // A selection from the start, so choosing at once takes the first symbol.
    grid->setCurrentCell(0, 0);

    cmdSave->setDefault(true); // Enter on the grid chooses, like the button
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);

    // Side margins that line the buttons up with the grid's right edge.
    auto *layout = new QVBoxLayout(this);
    const int side = (clientSize.width() - grid->width()) / 2;
    layout->setContentsMargins(side, side, side, layout->contentsMargins().bottom());
    layout->addWidget(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(clientSize.expandedTo(minimumSizeHint()));

    connect(cmdSave, &QPushButton::clicked, this, &TfrmEspChar::cmdSaveClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid, &QTableWidget::cellDoubleClicked, this, &TfrmEspChar::cmdSaveClick);
}

void TfrmEspChar::cmdSaveClick()
{
    const QList<QTableWidgetItem *> selected = grid->selectedItems();
    if (selected.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(selected.first()->text());
    m_chosen = true;
    accept();
}

bool ShowSpecialChars()
{
    TfrmEspChar window;
    platform::execModal(window);
    return window.chosen();
}
