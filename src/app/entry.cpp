#include "app/entry.h"

#include "app/instance_guard.h"
#include "base/services.h"

namespace quorel {

std::optional<int> answerSecondInstance(const InstanceGuard& guard, Messages& messages) {
    if (!guard.alreadyExists())
        return std::nullopt;
    const bool stop = messages.confirm(QStringLiteral(
        "もう起動されています。\nしばらく待つか、タスクバーを確認してください。\n起動を中止する時は"
        "「はい」を、\n"
        "Ｑｕｏｒｅｌを同時に２つ起動する時は「いいえ」をクリックしてください。\n\n"
        "Ｌｕｍｏを「Ｐｅｎｎａの表示」として使う場合は「いいえ」をクリックしてください。"));
    if (stop)
        return 1;
    messages.show(QStringLiteral(
        "Ｑｕｏｒｅｌを２つ起動した場合は、違うチャンネルを指定してください。\n"
        "同じチャンネルを指定した時は、通常の通信はできません。\n\n"
        "パソコンの容量を超えて複数のQuorelを起動すると動作が不安定になります。\n"
        "複数起動を本番で使う場合は、必ずリハーサルして動作を確認してください。\n\n"
        "ＬｕｍｏとＰｅｎｎａを２重起動して、Ｌｕｍｏを入力用Ｐｅｎｎａの表示として使う場合は、\n"
        "「パートナー」ページの「チャンネル」の「Ｌｕｍｏに表示」チェックを入れてください。"));
    return std::nullopt;
}

} // namespace quorel
