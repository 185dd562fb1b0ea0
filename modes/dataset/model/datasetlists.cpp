#include "modes/dataset/model/datasetlists.h"

#include "common/modelnames.h"

namespace tolvan::dataset {

const QStringList& DataSetLists::controlChannel() {
    static const QStringList list{QStringLiteral("12chのみ"), QStringLiteral("18chのみ"),
                                  QStringLiteral("12chと18ch")};
    return list;
}

const QStringList& DataSetLists::handoverLevel() {
    static const QStringList list = numbers(10, 80);
    return list;
}

const QStringList& DataSetLists::seamlessLevel() {
    static const QStringList list = numbers(10, 80, 2);
    return list;
}

const QStringList& DataSetLists::seamlessFer() {
    static const QStringList list = numbers(0, 31, 2);
    return list;
}

const QStringList& DataSetLists::ferThreshold() {
    static const QStringList list = numbers(0, 240);
    return list;
}

const QStringList& DataSetLists::ferTriggeredLevel() {
    static const QStringList list{QStringLiteral("0dB"),   QStringLiteral("+3dB"),
                                  QStringLiteral("+6dB"),  QStringLiteral("+9dB"),
                                  QStringLiteral("+12dB"), QStringLiteral("起動なし")};
    return list;
}

const QStringList& DataSetLists::interval() {
    static const QStringList list = numbers(1, 255);
    return list;
}

const QStringList& DataSetLists::areaType() {
    static const QStringList list{QStringLiteral("ｼｽﾃﾑ呼出符号"), QStringLiteral("ｼｽﾃﾑ呼出符号+付加ID")};
    return list;
}

const QStringList& DataSetLists::additionalIdCount() {
    static const QStringList list = numbers(0, 8);
    return list;
}

const QStringList& DataSetLists::idTopDigit() {
    static const QStringList list = numbers(0, 1);
    return list;
}

const QStringList& DataSetLists::hexDigit() {
    static const QStringList list = [] {
        QStringList digits;
        for (int v = 0; v < 16; ++v) {
            digits.append(QString::number(v, 16));
        }
        return digits;
    }();
    return list;
}

const QStringList& DataSetLists::faultCodeCharacter(int position) {
    static const QStringList lists[] = {{QStringLiteral("Z")}, {QStringLiteral("K")}, {QStringLiteral("O")}};
    return lists[position < 0 || position > 2 ? 0 : position];
}

QString DataSetLists::modelName(std::uint32_t modelCode) {
    return QString::fromLatin1(modelNameOf(modelCode));
}

} // namespace tolvan::dataset
