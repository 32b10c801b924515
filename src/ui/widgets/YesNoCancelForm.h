#pragma once

#include "support/QuestionBoxLayout.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The question box: a text and up to three buttons whose captions the caller chooses. Results
// (also the default-button codes): 1 first button, 0 second, -1 third or left without a button.
// Driven by ShowQuestionBox, which builds a fresh one for every question.
class YesNoCancelForm : public QDialog
{
    Q_OBJECT

public:
    explicit YesNoCancelForm(QWidget *owner = nullptr);

    // The leading number of a ResultText, to the nearest 32-bit value; 0 for empty text.
    static qint32 codeOf(const QString &text);

    // Sets the question; the label keeps its width and takes the wrapped text's height.
    void setQuestion(const QString &question);
    // Sizes label, window and buttons to the question (run on every activation).
    void LayoutControls();

    // Going in the default-button code, coming out the result code, as decimal text.
    QString ResultText;
    // The default-button code read from ResultText when the box activates.
    qint32 DefaultButton = 0;

    QLabel *Question_text;
    QLabel *InfoIcon;
    QLabel *QuestionIcon;
    QPushButton *YesButton;
    QPushButton *NoButton;
    QPushButton *Cancel_Button;

    // The geometry in twips as last laid out.
    const QuestionBoxLayout &layoutTwips() const { return m_layout; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *addButton(const char *name);
    void press(const QString &code);
    int labelHeightTwips(int widthTwips) const;
    void applyGeometry();

    QuestionBoxLayout m_layout;
};
