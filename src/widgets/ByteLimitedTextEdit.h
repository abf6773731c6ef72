#pragma once

#include <QPlainTextEdit>

// A multi-line text box whose user input is limited to a number of GBK bytes (see
// util/Gbk.h): typing beyond it is refused and a paste, drop or input-method commit is cut
// to what still fits, never inside a character. Text set by the program is not checked.
class ByteLimitedTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit ByteLimitedTextEdit(int maxBytes, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // Runs a change the user makes and cuts what it added beyond the limit.
    template<typename Change>
    void limited(Change change);

    const int m_maxBytes;
};
