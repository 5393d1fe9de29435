#include "Win.h"

TWinFrm::TWinFrm(QWidget *parent)
    : TaFrm(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
}
