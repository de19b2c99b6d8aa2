#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <cstdint>

#include "widgets/CpiPair.h"

class QCheckBox;
class QLineEdit;
class QWidget;

namespace lark {

// The CPI pairs of one window, sharing one "X/Y Settings" box, and the read of their value edits.
// The Basic page holds four pairs, the Fixed CPI dialog one.
class CpiPairGroup : public QObject {
    Q_OBJECT
public:
    CpiPairGroup(QWidget* window, QCheckBox* separateBox);

    // A new pair whose controls are children of the window (see CpiPair for the names).
    CpiPair* addPair(const QString& namePrefix, std::uint32_t initialValue);

    // Reads every value edit, X edits of all pairs first, then Y edits, into the pairs' values
    // (normalised; no edit text or trackbar changes). The first edit that does not start with a
    // number stops the read: "Enter a positive integer." is shown and the focus returns to that
    // edit with its whole text selected; it and the edits after it keep their values.
    // Returns false when the read stopped.
    bool readEdits();

    // When on, every text change the user makes in a value edit reads the edits and announces the
    // changed edit's value through its pair's valueEdited (edit and trackbar stay as typed).
    void setReadWhileTyping(bool on) { readWhileTyping_ = on; }

private:
    void onTextEdited(CpiPair* pair, CpiAxis axis);

    QWidget* window_;
    QCheckBox* separateBox_;
    QVector<CpiPair*> pairs_;
    bool readWhileTyping_ = false;
    bool reading_ = false;
};

}  // namespace lark
