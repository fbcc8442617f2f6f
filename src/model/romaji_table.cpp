#include "model/romaji_table.h"

#include <iterator>

namespace mw {

namespace {

// ん and っ are not here: how they are typed depends on the kana after them (model/romaji.cpp).
// A row of the table per consonant reads better than one kana a line.
// clang-format off
constexpr RomajiSpelling kSpellings[] = {
    {L"あ", "a"},          {L"い", "i yi"},       {L"う", "u wu whu"}, {L"え", "e"},         {L"お", "o"},
    {L"か", "ka ca"},      {L"き", "ki"},         {L"く", "ku cu qu"}, {L"け", "ke"},        {L"こ", "ko co"},
    {L"さ", "sa"},         {L"し", "si shi ci"},  {L"す", "su"},       {L"せ", "se ce"},     {L"そ", "so"},
    {L"た", "ta"},         {L"ち", "ti chi"},     {L"つ", "tu tsu"},   {L"て", "te"},        {L"と", "to"},
    {L"な", "na"},         {L"に", "ni"},         {L"ぬ", "nu"},       {L"ね", "ne"},        {L"の", "no"},
    {L"は", "ha wa"},      {L"ひ", "hi"},         {L"ふ", "hu fu"},    {L"へ", "he e"},      {L"ほ", "ho"},
    {L"ま", "ma"},         {L"み", "mi"},         {L"む", "mu"},       {L"め", "me"},        {L"も", "mo"},
    {L"や", "ya"},         {L"ゆ", "yu"},         {L"よ", "yo"},
    {L"ら", "ra"},         {L"り", "ri"},         {L"る", "ru"},       {L"れ", "re"},        {L"ろ", "ro"},
    {L"わ", "wa"},         {L"ゐ", "wi i"},       {L"ゑ", "we e"},     {L"を", "wo o"},
    {L"が", "ga"},         {L"ぎ", "gi"},         {L"ぐ", "gu"},       {L"げ", "ge"},        {L"ご", "go"},
    {L"ざ", "za"},         {L"じ", "zi ji"},      {L"ず", "zu"},       {L"ぜ", "ze"},        {L"ぞ", "zo"},
    {L"だ", "da"},         {L"ぢ", "di ji zi"},   {L"づ", "du zu"},    {L"で", "de"},        {L"ど", "do"},
    {L"ば", "ba"},         {L"び", "bi"},         {L"ぶ", "bu"},       {L"べ", "be"},        {L"ぼ", "bo"},
    {L"ぱ", "pa"},         {L"ぴ", "pi"},         {L"ぷ", "pu"},       {L"ぺ", "pe"},        {L"ぽ", "po"},
    {L"ゔ", "vu"},
    {L"ぁ", "xa la"},      {L"ぃ", "xi li"},      {L"ぅ", "xu lu"},    {L"ぇ", "xe le"},     {L"ぉ", "xo lo"},
    {L"ゃ", "xya lya"},    {L"ゅ", "xyu lyu"},    {L"ょ", "xyo lyo"},  {L"ゎ", "xwa lwa"},
    // A kana and its small companion, typed as one syllable.
    {L"きゃ", "kya"},      {L"きゅ", "kyu"},      {L"きょ", "kyo"},
    {L"しゃ", "sya sha"},  {L"しゅ", "syu shu"},  {L"しょ", "syo sho"}, {L"しぇ", "sye she"},
    {L"ちゃ", "tya cha cya"}, {L"ちゅ", "tyu chu cyu"}, {L"ちょ", "tyo cho cyo"}, {L"ちぇ", "tye che cye"},
    {L"にゃ", "nya"},      {L"にゅ", "nyu"},      {L"にょ", "nyo"},
    {L"ひゃ", "hya"},      {L"ひゅ", "hyu"},      {L"ひょ", "hyo"},
    {L"みゃ", "mya"},      {L"みゅ", "myu"},      {L"みょ", "myo"},
    {L"りゃ", "rya"},      {L"りゅ", "ryu"},      {L"りょ", "ryo"},
    {L"ぎゃ", "gya"},      {L"ぎゅ", "gyu"},      {L"ぎょ", "gyo"},
    {L"じゃ", "zya ja jya"}, {L"じゅ", "zyu ju jyu"}, {L"じょ", "zyo jo jyo"}, {L"じぇ", "zye je jye"},
    {L"ぢゃ", "dya"},      {L"ぢゅ", "dyu"},      {L"ぢょ", "dyo"},
    {L"びゃ", "bya"},      {L"びゅ", "byu"},      {L"びょ", "byo"},
    {L"ぴゃ", "pya"},      {L"ぴゅ", "pyu"},      {L"ぴょ", "pyo"},
    {L"ふぁ", "fa"},       {L"ふぃ", "fi"},       {L"ふぇ", "fe"},     {L"ふぉ", "fo"},
    {L"てぃ", "thi"},      {L"でぃ", "dhi"},      {L"とぅ", "twu"},    {L"どぅ", "dwu"},
    {L"うぃ", "wi"},       {L"うぇ", "we"},       {L"うぉ", "who"},
    {L"ゔぁ", "va"},       {L"ゔぃ", "vi"},       {L"ゔぇ", "ve"},     {L"ゔぉ", "vo"},
};
// clang-format on

} // namespace

const RomajiSpelling* RomajiSpellings() {
    return kSpellings;
}

size_t RomajiSpellingCount() {
    return std::size(kSpellings);
}

} // namespace mw
