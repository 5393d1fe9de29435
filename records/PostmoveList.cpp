#include "PostmoveList.h"

TPostmoveListFrm::TPostmoveListFrm(QWidget *parent, bool firstQuery)
    : TModuleListFrm<RPostmove, TPostmoveEditFrm>(PostmoveModule(), parent, firstQuery)
{ }

TEmpPostmoveFra::TEmpPostmoveFra(QWidget *parent)
    : TModuleFra<RPostmove, TPostmoveEditFrm, TPostmoveListFrm>(PostmoveModule(), parent)
{ }
