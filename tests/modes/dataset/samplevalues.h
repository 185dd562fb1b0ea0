#pragma once

// Screen values and an image that exercise every field of log file 1.

#include "modes/dataset/model/datasetscreenvalues.h"
#include "modes/dataset/model/systemparamimage.h"

#include <string>
#include <vector>

namespace tolvan::dataset::testing {

inline DataSetScreenValues sampleScreen() {
    DataSetScreenValues v;
    v.version = {"0", "1", "2", "3"};
    v.psId = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    v.controlChannel = 2;
    v.handoverLevels = {35, 30, 20, 25, DataSetScreenValues::kNone};
    v.ferThreshold = 200;
    v.ferTriggeredLevel = DataSetScreenValues::kNone;
    v.systemCall = {"5", "3", "6", "8", "7", "0", "9", "1", "1"};
    v.seamlessProcessLevel = 35;
    v.seamlessSelectLevel = 0;
    v.seamlessFerThreshold = 5;
    v.areaType = 1;
    v.additionalIdCount = 2;
    v.additionalIds.fill({0, 0, 0, 0});
    v.additionalIds[0] = {1, 15, 15, 15};
    v.additionalIds[1] = {0, 10, 0, 1};
    v.additionalIds[7] = {-1, -1, -1, -1};
    v.rxGain = 1;
    v.interval = 254;
    v.accessory = 0;
    v.faultCode = {0, 0, 0};
    v.memo = QStringLiteral("お客様A,B棟");
    return v;
}

// The lines of sampleScreen() as log file 1 holds them (UTF-8 here), by model.
inline std::vector<std::string> sampleScreenLines(int model) {
    std::vector<std::string> lines;
    lines.push_back(model == 2   ? "\"ZX-VA100ログファイル1\""
                    : model == 4 ? "\"ZX-VA150(C)ログファイル1\""
                                 : "\"ZX-VA150ログファイル1\"");
    lines.insert(lines.end(),
                 {
                     "\"外部ﾏｲｺﾝｿﾌﾄｳｪｱ \",\"0\",\"1\",\"2\",\"3\"",
                     "\"PS-ID\",\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\"",
                     "\"制御ch \",\"12chと18ch\"",
                     "\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"45\"",
                     "\"待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\",\"40\"",
                     "\"再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\",\"30\"",
                     "\"再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\",\"35\"",
                     "\"TCH切替え型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\",\"\"",
                     "\"ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数\",\"200\"",
                     "\"FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ\",\"-1\"",
                     "\"CS-ID中のｼｽﾃﾑ呼び出し符号\",\"5\",\"3\",\"6\",\"8\",\"7\",\"0\",\"9\",\"1\",\"1\"",
                 });
    if (model != 3) {
        lines.insert(lines.end(), {
                                      "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\",\"45\"",
                                      "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\",\"10\"",
                                      "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値\",\"05\"",
                                      "\"一斉呼び出しｴﾘｱ種別\",\"ｼｽﾃﾑ呼出符号+付加ID\"",
                                      "\"CS-IDの付加ID設定数\",\"2\"",
                                      "\"付加ID1\",\"1\",\"f\",\"f\",\"f\"",
                                      "\"付加ID2\",\"0\",\"a\",\"0\",\"1\"",
                                      "\"付加ID3\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID4\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID5\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID6\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID7\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID8\",\"\",\"\",\"\",\"\"",
                                  });
    }
    if (model == 2) {
        lines.push_back("\"VA100受話ｹﾞｲﾝ調整機能\",\"ｵﾝ\"");
    }
    lines.insert(lines.end(), {
                                  "\"ｲﾝﾀｰﾊﾞﾙ値\",\"255\"",
                                  "\"ZX-RM15検出\",\"ｵﾌ\"",
                                  "\"障害監視ｺｰﾄﾞ\",\"Z\",\"K\",\"O\"",
                                  "\"お客様A,B棟\"",
                              });
    return lines;
}

inline SystemParamImage sampleImage() {
    SystemParamImage image;
    image.version = {1, 23, 0, 0};
    image.setPsIdValue(123456789);
    image.channel = {5, 45, 10, 5, 1};
    image.levels = {79, 74, 64, 69, 0, 0, 0};
    image.setFerThreshold(200);
    image.setSystemCallValue(536870911);
    image.setInterval(255);
    image.area = {7, 2};
    image.setAdditionalId(0, 0x1FFF);
    image.setAdditionalId(1, 0x0A01);
    image.gain[0] = 3;
    image.accessory = 0;
    image.faultCode = {'Z', 'K', 'O'};
    return image;
}

inline std::vector<std::string> sampleImageLines(int model) {
    std::vector<std::string> lines;
    lines.push_back(model == 2   ? "\"ZX-VA100ログファイル1\""
                    : model == 4 ? "\"ZX-VA150(C)ログファイル1\""
                                 : "\"ZX-VA150ログファイル1\"");
    lines.insert(lines.end(),
                 {
                     "\"外部ﾏｲｺﾝｿﾌﾄｳｪｱ \",\"0\",\"1\",\"2\",\"3\"",
                     "\"PS-ID\",\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\"",
                     "\"制御ch \",\"12chと18ch\"",
                     "\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"45\"",
                     "\"待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\",\"40\"",
                     "\"再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\",\"30\"",
                     "\"再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\",\"35\"",
                     "\"TCH切替え型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\",\"-34\"",
                     "\"ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数\",\"200\"",
                     "\"FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ\",\"1\"",
                     "\"CS-ID中のｼｽﾃﾑ呼び出し符号\",\"5\",\"3\",\"6\",\"8\",\"7\",\"0\",\"9\",\"1\",\"1\"",
                 });
    if (model != 3) {
        lines.insert(lines.end(), {
                                      "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\",\"45\"",
                                      "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\",\"10\"",
                                      "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値\",\"5\"",
                                      "\"一斉呼び出しｴﾘｱ種別\",\"\"",
                                      "\"CS-IDの付加ID設定数\",\"2\"",
                                      "\"付加ID1\",\"1\",\"f\",\"f\",\"f\"",
                                      "\"付加ID2\",\"0\",\"a\",\"0\",\"1\"",
                                      "\"付加ID3\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID4\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID5\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID6\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID7\",\"0\",\"0\",\"0\",\"0\"",
                                      "\"付加ID8\",\"0\",\"0\",\"0\",\"0\"",
                                  });
    }
    if (model == 2) {
        lines.push_back("\"VA100受話ｹﾞｲﾝ調整機能\",\"ｵﾝ\"");
    }
    lines.insert(lines.end(), {
                                  "\"ｲﾝﾀｰﾊﾞﾙ値\",\"255\"",
                                  "\"ZX-RM15検出\",\"ｵﾌ\"",
                                  "\"障害監視ｺｰﾄﾞ\",\"Z\",\"K\",\"O\"",
                                  "\"memo\"",
                              });
    return lines;
}

} // namespace tolvan::dataset::testing
