#pragma once

#include "a.h"

// The base of the event modules' list and edit windows: modeless, on top of
// the other windows, freed when closed. Several may be open at once.
class TWinFrm : public TaFrm
{
    Q_OBJECT
public:
    explicit TWinFrm(QWidget *parent = nullptr);
};
