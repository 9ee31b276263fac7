#pragma once
// Caption text for the benchmarks: sentences as typists send them at a
// lecture, 20 to 30 full-width characters each.

#include <QString>
#include <array>

namespace quorel::bench {

inline constexpr int kCaptionCount = 20;

// Sentence i, cycling through kCaptionCount different ones.
inline QString caption(int i) {
    static const std::array<const char16_t*, kCaptionCount> sentences{
        u"本日はお忙しい中、お集まりいただきありがとうございます。",
        u"それでは定刻になりましたので、会議を始めます。",
        u"最初に、お手元の資料がそろっているかご確認ください。",
        u"昨年度の事業報告について、担当者からご説明します。",
        u"皆様のご協力により、今年度の目標を達成できました。",
        u"会場の後ろの方、声は聞こえていますでしょうか。",
        u"ここで十分間の休憩に入ります。再開は二時十五分です。",
        u"字幕は正面のスクリーンに表示しております。",
        u"ただいまから質疑応答の時間とさせていただきます。",
        u"防災訓練は来月の第二日曜日に小学校で実施します。",
        u"要約筆記は二名が十五分ずつ交代で入力しています。",
        u"配布資料の三ページ目に誤りがありました。訂正します。",
        u"続きまして、来年度の予算案の概要をご説明します。",
        u"台風の接近に伴い、午後の行事は中止となりました。",
        u"携帯電話はマナーモードに設定してください。",
        u"以上をもちまして、本日の講演会を終了いたします。",
        u"最後までご清聴いただき、ありがとうございました。",
        u"お帰りの際は、お忘れ物のないようお気をつけください。",
        u"次回の定例会は、来月十日の午後一時半から開催します。",
        u"ご意見は受付のアンケート用紙にご記入ください。",
    };
    return QString::fromUtf16(sentences[static_cast<std::size_t>(i) % sentences.size()]);
}

} // namespace quorel::bench
