#include "FieldLabels.h"

#include "KeyValue2.h"

TFieldLabels FieldLabels;

std::vector<TFieldLabels::KeyedLabel> TFieldLabels::Keyed()
{
    std::vector<KeyedLabel> keyed{
        {125, &Code}, {126, &DutyName}, {127, &Party}, {128, &EmployType}};
    for (int i = 0; i < 12; ++i)
        keyed.push_back({101 + i, &S[i]});
    for (int i = 0; i < 3; ++i)
        keyed.push_back({113 + i, &F[i]});
    for (int i = 0; i < 3; ++i)
        keyed.push_back({116 + i, &D[i]});
    return keyed;
}

LabelNotifier &LabelNotifier::instance()
{
    static LabelNotifier notifier;
    return notifier;
}

void LoadFieldLabels(TKeyValue2 &settings)
{
    // Read every text before assigning any, so a failing read leaves the
    // labels as they were rather than half replaced.
    TFieldLabels loaded = FieldLabels;
    for (const auto &label : loaded.Keyed())
        *label.text = settings.GetStr(label.key);
    FieldLabels = loaded;
    emit LabelNotifier::instance().labelsChanged();
}

void SaveFieldLabels(TKeyValue2 &settings)
{
    for (const auto &label : FieldLabels.Keyed())
        settings.SetStr(label.key, *label.text);
    emit LabelNotifier::instance().labelsChanged();
}
