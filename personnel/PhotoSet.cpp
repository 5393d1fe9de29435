#include "PhotoSet.h"

#include "qmImageBox.h"

#include <QBuffer>

TPicture TPicture::FromData(const QByteArray &data)
{
    TPicture picture;
    picture.m_data = data;
    picture.m_image = QmPicture::Decode(data);
    return picture;
}

TPicture TPicture::FromImage(const QImage &image)
{
    TPicture picture;
    if (image.isNull())
        return picture;
    QBuffer buffer(&picture.m_data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, image.hasAlphaChannel() ? "PNG" : "JPG", 90);
    picture.m_image = image;
    return picture;
}

QString TPicture::FormatExt(const QByteArray &data)
{
    const QString format = QmPicture::Format(data);
    return format.isEmpty() ? QString() : QLatin1Char('.') + format;
}

TPhotoSet::TPhotoSet()
{
    AddField(FieldKind::Integer, QStringLiteral("EmpId"));
    AddField(FieldKind::WideString, QStringLiteral("Ext"), 10);
    AddField(FieldKind::Blob, QStringLiteral("Photo"));
}

int TPhotoSet::Load(int empId)
{
    return Open(QStringLiteral("select * from photo where EmpId=:EmpId"),
        {MakeParameter(QStringLiteral("EmpId"), empId)});
}

TPicture TPhotoSet::Picture() const
{
    if (!Active() || Query()->IsEmpty())
        return TPicture();
    return TPicture::FromData(FieldByName(QStringLiteral("Photo"))->AsBytes());
}
