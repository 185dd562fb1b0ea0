#include "modes/psent/model/psentlists.h"

namespace tolvan::psent {

const QStringList& PsEntLists::outOfRangeTone() {
    static const QStringList list{QStringLiteral("圏外時常に鳴動する"),
                                  QStringLiteral("圏外時ﾄｰｸﾎﾞﾀﾝで鳴動する"),
                                  QStringLiteral("圏外時常に鳴動しない")};
    return list;
}

const QStringList& PsEntLists::micOperation() {
    static const QStringList list{QStringLiteral("PTT"), QStringLiteral("PTTホールド"),
                                  QStringLiteral("VOX")};
    return list;
}

const QStringList& PsEntLists::voxSensitivity() {
    static const QStringList list{QStringLiteral("-20"), QStringLiteral("-26"), QStringLiteral("-32"),
                                  QStringLiteral("-38")};
    return list;
}

const QStringList& PsEntLists::voxDelay() {
    static const QStringList list = numbers(1, 10);
    return list;
}

const QStringList& PsEntLists::noiseCutType() {
    static const QStringList list{QStringLiteral("ﾀｲﾌﾟ1"), QStringLiteral("ﾀｲﾌﾟ2")};
    return list;
}

const QStringList& PsEntLists::noiseCutSensitivity() {
    static const QStringList list{QStringLiteral("-26"), QStringLiteral("-32"), QStringLiteral("-38"),
                                  QStringLiteral("-44")};
    return list;
}

const QStringList& PsEntLists::talkButton() {
    static const QStringList list{QStringLiteral("ｺﾝﾄﾛｰﾙﾏｲｸのみ"), QStringLiteral("子機＋ｺﾝﾄﾛｰﾙﾏｲｸ")};
    return list;
}

const QStringList& PsEntLists::hearingTimer() {
    static const QStringList list = numbers(0, 10);
    return list;
}

const QStringList& PsEntLists::hearingMode() {
    static const QStringList list{QStringLiteral("ｽﾚｰﾌﾞ"), QStringLiteral("ﾏｽﾀ")};
    return list;
}

const QStringList& PsEntLists::manualHandoverButton() {
    static const QStringList list{QStringLiteral("なし"), QStringLiteral("F1"), QStringLiteral("F2"),
                                  QStringLiteral("F3"),   QStringLiteral("F4"), QStringLiteral("F5"),
                                  QStringLiteral("F6")};
    return list;
}

const QStringList& PsEntLists::volumeButton() {
    static const QStringList list{QStringLiteral("なし"), QStringLiteral("UP")};
    return list;
}

const QStringList& PsEntLists::outsideLine() {
    static const QStringList list{QStringLiteral("不可"), QStringLiteral("可")};
    return list;
}

const QStringList& PsEntLists::shortDial() {
    static const QStringList list = numbers(1, 10);
    return list;
}

const QStringList& PsEntLists::psNumberHundreds() {
    static const QStringList list = numbers(0, 3);
    return list;
}

const QStringList& PsEntLists::digit() {
    static const QStringList list = numbers(0, 9);
    return list;
}

int PsEntLists::indexOfStored(int stored, int first, int count) {
    const int index = stored - first;
    return index >= 0 && index < count ? index : -1;
}

} // namespace tolvan::psent
