// Checks the control table against a second, independent transcription of
// the window layout, and the lookups and the in-memory window built on it.

#include "ui/control_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/memory_window.h"
#include "ui/control_id.h"

namespace {

// The window layout, one control per line in creation order, grouped under
// "[page]" headers ("outside" holds the controls below the tab panel):
//   id|kind|x|y|w|h|"caption"|setting|"tool tip"|options
// An empty caption or tool tip field means none; "none" is the id of the
// control nothing refers to. Options, comma-separated: "editable",
// "digits only", "range 0..N", "max N" (typing limit), "system font",
// "starts disabled".
constexpr std::string_view kLayout = R"layout(
[outside]
3|button|5|410|85|25|"Load Default"|||
4|button|230|410|65|25|"Add"||"Add a task to job list according to current settings."|
158|list|95|412|130|300||level|"THIS OPTION JUST ADDS A PARAMETER, IT DOESN'T LIMIT YOUR CONFIGURE!"|
[Bitrate]
21|picture|58|24|200|59||||
156|check|5|90|50|21|"SSIM"|ssim||
157|check|5|110|50|21|"PSNR"|psnr||
140|field|133|24|60|20|"90"|minsize|"Minimum allowed video size, AUDIO NOT INCLUDED!"|
138|field|133|54|60|20|"110"|maxsize|"Maximum allowed video size, AUDIO NOT INCLUDED!"|
141|label|63|24|70|20|"Min size(MB):"|||
139|label|63|54|70|20|"Max size(MB):"|||
22|list|58|104|200|140||mode||
115|button|215|210|85|21|"Refresh"|||
161|label|10|188|60|21|"Presets:"|||
23|label|58|134|80|16|"Quantizer"|||
124|check|5|130|40|21|"Size"|sizemode|"Input target file size instead of bitrate"|
87|label|58|85|205|17|"Range 0~51"|||
24|field|148|134|50|20|"26"|value||
120|field|188|159|50|20|"16"|auto1pcrf|"The quantizer value for the first pass"|
121|label|58|159|130|20|"CRF Value for first pass:"|||
114|edit-list|70|185|100|20||presetname|"List for files of settings"|editable, system font
160|label|10|212|80|21|"AVS Scripts:"|||
128|list|90|210|120|20||avsinc|"When given an non-AVS file, use the preset to import them."|system font
104|button|175|185|60|20|"Save"||"Save current settings to an INI file"|
105|button|240|185|60|20|"Load"||"Load settings from a file"|
27|check|23|295|120|15|"Update Statsfile"|upstat|"Tick this option if you want to perform 3 or more passes"|
113|button|150|290|120|25|"Batch Adding"||"Import more than 1 file as input. Please set all the settings before pressing this"|
28|label|18|322|90|20|"Statsfile name"|||
127|check|18|349|120|20|"Logfile(empty=none)"|crelog|"Save the output information to a log file. NOTICE: Then you can't get available file if you press Ctrl+C during process."|
29|field|108|320|145|20|""|statsfile||
125|field|138|349|115|20|""|logfile||
30|button|258|320|25|20|"..."|||
126|button|258|349|25|20|"..."|||
92|label|8|234|70|15|"Input file:"|||
93|label|8|259|80|15|"Output file:"|||
88|field|83|234|175|20|""|input||
89|field|93|259|165|20|""|output||
90|button|263|234|25|20|"..."|||
91|button|263|259|25|20|"..."|||
[Rate Control]
31|frame|8|10|290|119|"Bitrate && Quantization Limits"|||
32|frame|8|133|290|119|"VBV Settings && Scene Cuts"|||
33|frame|8|254|290|95|"Adjust QP && deadzones"|||
34|label|20|28|110|15|"KeyFrame boost(%)"|||
35|label|20|52|110|15|"B-frames reduction(%)"|||
36|label|20|76|110|15|"Quantizer Comp(%)"|||
153|label|20|100|150|15|"Chroma QP Offset"|||
37|digits|135|26|30|20|"40"|kfb|"QP factor between I and P [40]"|digits only
38|digits|135|50|30|20|"30"|bfr|"QP factor between P and B [30]"|digits only
39|digits|135|73|30|20|"60"|vbr|"QP curve compression: 0 => CBR, 100 => CQP [60]"|digits only
152|field|135|97|30|20|"0"|chromaqpoffset|"QP difference between chroma and luma [0]"|
40|label|170|28|65|15|"Min QP"|||
41|label|170|52|65|15|"Max QP"|||
42|label|170|76|65|15|"Max QP Step"|||
43|digits|236|26|35|20|"10"|minqp||digits only
44|digits|236|50|35|20|"51"|maxqp||digits only
45|digits|236|73|35|20|"4"|qps||digits only
134|label|20|148|135|20|"VBV Buffer Size"|||
135|label|20|172|135|20|"VBV Maximum Bitrate"|||
136|label|20|196|135|20|"VBV Initial Buffer"|||
137|label|20|220|135|20|"Bitrate Variance(%)"|||
130|field|125|148|30|20|"0"|vbs|"Enable CBR and set size of the VBV buffer (kbit) [0]"|
131|field|125|172|30|20|"0"|vmb|"Max local bitrate (kbit/s) [0]"|
132|field|125|196|30|20|"0.9"|vib|"Initial VBV buffer occupancy [0.9]"|
133|digits|125|220|30|20|"100"|bv|"Allowed variance of average bitrate [100]"|digits only
46|label|165|158|85|15|"SC Threshold"|||
47|label|165|184|85|15|"Min I-f interval"|||
48|label|165|217|85|15|"Max I-f interval"|||
49|digits|245|154|35|20|"40"|sct|"How aggressively to insert extra I-frames [40]"|digits only
50|digits|245|184|35|20|"25"|mingop|"Minimum GOP size [25]"|digits only
51|digits|245|214|35|20|"250"|maxgop|"Maximum GOP size [250]"|digits only
145|label|15|275|50|15|"AQ Mode"|||
146|list|65|273|90|80||aq|"How AQ distributes bits [Multiple frames]"|
143|label|20|309|80|15|"AQ Strength"|||
144|field|100|309|35|20|"1.0"|aq1|"Reduces blocking and blurring in flat and textured areas. [1.0]"|
147|label|170|273|120|15|"Deadzone settings"|||
148|label|170|298|120|15|"Inter"|||
149|label|170|321|120|15|"Intra"|||
150|field|230|298|35|20|"21"|dzinter|"Set the size of the inter luma quantization deadzone [21]"|
151|field|230|321|35|20|"11"|dzintra|"Set the size of the intra luma quantization deadzone [11]"|
[MBs&&Frames]
1|frame|8|4|285|145|"Partitions"||"Partitions to consider"|
2|frame|8|154|285|140|"B Frames"|||
162|frame|8|300|285|70|"Psychovisual optimization"|||
6|check|28|24|255|15|"8x8 Transform"|a1||
7|check|28|44|255|15|"8x8,8x16 and 16x8 P-frame search"|a2||
8|check|28|64|255|15|"8x8,8x16 and 16x8 B-Frame search"|a3||
9|check|28|84|255|15|"4x4,4x8 and 8x4 P-frame search"|a4||
10|check|28|104|255|15|"8x8 Intra search"|a5||
11|check|28|124|255|15|"4x4 Intra search"|a6||
12|label|18|174|110|15|"Max consecutive"|||
13|label|18|194|35|15|"Bias"|||
14|track|73|194|120|15||biasbar|"Influences how often B-frames are used [0]"|range 0..200
15|digits|208|169|55|20|"2"|mb|"Number of B-frames between I And P [0]"|digits only
16|field|208|194|55|20|"0"|bias||max 3
17|check|18|219|80|15|"Use as Ref."|bref|"Keep some B-frames as references"|
18|check|124|219|75|15|"Adaptive"|ba|"Enable adaptive B-frame decision"|
159|check|229|219|60|15|"Optimal"|bfoptimal|"Optimal method for Adaptive B-frame decision"|
19|check|18|239|150|15|"Weighted biprediction"|bwb|"Weighted prediction for B-frames"|
20|label|18|264|80|15|"Direct Mode"|||
82|list|80|264|70|130||dm|"Direct MV prediction mode [Spatial]"|
154|label|170|245|110|15|"Direct prediction size:"|||
155|list|170|264|110|130||directpm||starts disabled
165|label|18|320|140|20|"RDO (requires subme>=6)"|||
166|label|18|345|140|20|"Trellis (requires trellis)"|||
163|field|180|320|40|20|"1.0"|psyrd_rdo|"RDO strength of psychovisual optimization [1.0]"|
164|field|180|345|40|20|"0.0"|psyrd_tre|"Trellis strength of psychovisual optimization (experimental) [0.0]"|
[More]
52|frame|8|9|290|130|"Motion Estimation"|||
53|list|133|24|145|110||m|"Subpixel motion estimation and partition [5]"|
54|list|118|49|160|115||ms||
55|label|13|24|115|20|"Partition decision"|||
56|label|13|49|100|20|"Method"|||
57|label|13|79|50|20|"Range"|||
58|label|13|109|100|20|"Max Ref. frames"|||
59|digits|73|79|35|20|"16"|range|"Maximum motion vector search range [16]"|digits only
60|digits|118|109|45|20|"1"|ref|"Number of reference frames [1]"|digits only
61|check|210|79|70|15|"Chroma ME"|chromame|"Consider chroma in motion estimation"|
62|check|210|99|70|15|"Mixed Refs"|mxref|"Decide references on a per partition basis"|
118|check|210|119|70|15|"Fast P Skip"|fastpsk|"Enables early SKIP detection on P-frames"|
119|check|118|79|90|15|"DCT Decimate"|dctd|"Enables coefficient thresholding on P-frames"|
63|frame|8|144|290|150|"Misc. options"|||
66|digits|68|174|25|18|"1"|arx||digits only
67|digits|102|174|25|18|"1"|ary||digits only
68|label|93|174|15|15|" :"|||
69|label|13|199|55|15|"Threads"|||
112|check|150|199|110|15|"Alone Thread Input"|apin|"Run Avisynth in its own thread"|
65|label|13|174|55|15|"Sample AR"|||
70|field|68|199|15|18|"1"|thr|"Parallel encoding"|
71|check|150|174|65|15|"CABAC"|cab||
72|label|225|174|30|15|"Trellis"|||
129|list|260|172|30|100||tre|"Trellis RD quantization. Requires CABAC. [0]"|
73|label|13|224|85|15|"Noise Reduction"|||
74|field|98|224|35|18|"0"|nr||
75|check|18|260|100|15|"Deblocking filter:"|fil|"Loop filter AlphaC0 and Beta parameters"|
122|label|150|224|50|15|"Quant:"|||
123|edit-list|200|222|70|50||cqm|"Quant matrices"|editable
76|label|153|254|50|15|"Strength"|||
77|label|153|270|55|15|"Threshold"|||
78|track|213|254|55|15||deb-a||range 0..12
79|track|213|269|55|15||deb-b||range 0..12
80|label|268|254|20|15|"0"|fa||
81|label|268|269|20|15|"0"|fb||
none|frame|8|300|290|75|"Audio"|||system font
107|check|20|320|160|15|"Enable Audio Encoding"|aud|"Encodes audio after encoding video"|
108|field|180|320|40|20|"64"|aub||
109|label|230|322|50|15|"Kbps"|||
167|label|20|347|65|15|"Encoder"|||
110|list|85|345|70|140||ae|"Encoder to encode audio"|
168|label|170|347|55|15|"Muxer"|||
111|list|225|345|65|140||muxer|"Muxer to mux audio"|
[Job]
94|list box|3|4|260|335||JobList||
95|button|230|344|65|20|"Make BAT"|||
96|button|155|344|65|20|"Clear"|||
97|button|80|344|65|20|"Disable"|||
99|button|5|344|65|20|"Start"|||
103|button|264|10|40|30|"view"|||
100|button|264|60|40|30|"up"|||
101|button|264|110|40|30|"down"|||
102|button|264|160|40|30|"edit"|||
142|button|264|210|40|30|"del"|||
106|button|264|260|40|30|"Shut"|||
)layout";

struct Row {
  ControlId id = -1;
  ControlKind kind{};
  Page page{};
  int x = 0, y = 0, w = 0, h = 0;
  std::string caption, setting, toolTip;
  int maxLength = 0;
  int trackMax = 0;
  bool systemFont = false;
  bool startsDisabled = false;
  bool editable = false;
  bool digitsOnly = false;
  std::string line;  // for messages
};

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  for (;;) {
    const size_t at = text.find(separator);
    parts.emplace_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + separator.size());
  }
}

int Number(const std::string& text) {
  size_t used = 0;
  const int value = std::stoi(text, &used);
  if (used != text.size()) throw std::runtime_error("not a number: " + text);
  return value;
}

std::string Unquote(const std::string& text) {
  if (text.empty()) return {};
  if (text.size() < 2 || text.front() != '"' || text.back() != '"')
    throw std::runtime_error("not quoted: " + text);
  return text.substr(1, text.size() - 2);
}

std::vector<Row> ParseLayout() {
  const std::map<std::string, ControlKind> kinds = {
      {"button", ControlKind::Button},      {"check", ControlKind::Check},
      {"label", ControlKind::Label},        {"field", ControlKind::Field},
      {"digits", ControlKind::Digits},      {"list", ControlKind::List},
      {"edit-list", ControlKind::EditList}, {"track", ControlKind::Track},
      {"frame", ControlKind::Frame},        {"list box", ControlKind::ListBox},
      {"picture", ControlKind::Picture},
  };
  const std::map<std::string, Page> pages = {
      {"outside", Page::Outside},
      {"Bitrate", Page::Bitrate},
      {"Rate Control", Page::RateControl},
      {"MBs&&Frames", Page::MBsFrames},
      {"More", Page::More},
      {"Job", Page::Job},
  };
  std::vector<Row> rows;
  bool inPage = false;
  Page page{};
  for (const std::string& line : Split(kLayout, "\n")) {
    if (line.empty()) continue;
    if (line.front() == '[') {
      page = pages.at(line.substr(1, line.size() - 2));
      inPage = true;
      continue;
    }
    if (!inPage) throw std::runtime_error("row before any page: " + line);
    const std::vector<std::string> f = Split(line, "|");
    if (f.size() != 10) throw std::runtime_error("not 10 fields: " + line);
    Row row;
    row.line = line;
    row.id = f[0] == "none" ? cid::none : Number(f[0]);
    row.kind = kinds.at(f[1]);
    row.page = page;
    row.x = Number(f[2]);
    row.y = Number(f[3]);
    row.w = Number(f[4]);
    row.h = Number(f[5]);
    row.caption = Unquote(f[6]);
    row.setting = f[7];
    row.toolTip = Unquote(f[8]);
    if (!f[9].empty()) {
      for (const std::string& option : Split(f[9], ", ")) {
        if (option == "editable") {
          row.editable = true;
        } else if (option == "digits only") {
          row.digitsOnly = true;
        } else if (option == "system font") {
          row.systemFont = true;
        } else if (option == "starts disabled") {
          row.startsDisabled = true;
        } else if (option.starts_with("range 0..")) {
          row.trackMax = Number(option.substr(9));
        } else if (option.starts_with("max ")) {
          row.maxLength = Number(option.substr(4));
        } else {
          throw std::runtime_error("unknown option: " + option);
        }
      }
    }
    rows.push_back(row);
  }
  return rows;
}

const std::vector<Row>& Layout() {
  static const std::vector<Row> rows = ParseLayout();
  return rows;
}

bool IsList(ControlKind kind) {
  return kind == ControlKind::List || kind == ControlKind::EditList || kind == ControlKind::ListBox;
}

// The transcription agrees with itself: the options that follow from a kind
// go with that kind only.
TEST(ControlLayoutTest, TranscriptionIsConsistent) {
  ASSERT_FALSE(Layout().empty());
  for (const Row& row : Layout()) {
    SCOPED_TRACE(row.line);
    EXPECT_EQ(row.editable, row.kind == ControlKind::EditList);
    EXPECT_EQ(row.digitsOnly, row.kind == ControlKind::Digits);
    EXPECT_EQ(row.trackMax > 0, row.kind == ControlKind::Track);
  }
}

TEST(ControlTableTest, MatchesTheLayoutRowByRow) {
  const std::span<const ControlSpec> table = ControlTable();
  const std::vector<Row>& layout = Layout();
  ASSERT_EQ(table.size(), layout.size());
  for (size_t i = 0; i < layout.size(); ++i) {
    const Row& want = layout[i];
    const ControlSpec& got = table[i];
    SCOPED_TRACE("row " + std::to_string(i) + ": " + want.line);
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.page, want.page);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.w, want.w);
    EXPECT_EQ(got.h, want.h);
    EXPECT_EQ(got.caption, want.caption);
    EXPECT_EQ(got.setting, want.setting);
    EXPECT_EQ(got.toolTip, want.toolTip);
    EXPECT_EQ(got.maxLength, want.maxLength);
    EXPECT_EQ(got.trackMax, want.trackMax);
    EXPECT_EQ(got.systemFont, want.systemFont);
    EXPECT_EQ(got.startsDisabled, want.startsDisabled);
  }
}

TEST(ControlTableTest, IdsAreUniqueAndOnlyTheAudioFrameHasNone) {
  std::set<ControlId> seen;
  int withoutId = 0;
  for (const ControlSpec& row : ControlTable()) {
    if (row.id == cid::none) {
      ++withoutId;
      EXPECT_EQ(row.kind, ControlKind::Frame);
      EXPECT_EQ(row.caption, "Audio");
      continue;
    }
    EXPECT_GT(row.id, 0);
    EXPECT_TRUE(seen.insert(row.id).second) << "id " << row.id << " appears twice";
  }
  EXPECT_EQ(withoutId, 1);
}

TEST(ControlTableTest, FindControlReturnsTheRowOfEveryId) {
  for (const ControlSpec& row : ControlTable()) {
    if (row.id == cid::none) continue;
    EXPECT_EQ(FindControl(row.id), &row) << "id " << row.id;
  }
}

TEST(ControlTableTest, EveryIdTheLayoutNamesIsFoundAndNoOther) {
  std::set<ControlId> named;
  for (const Row& row : Layout())
    if (row.id != cid::none) named.insert(row.id);
  ASSERT_TRUE(named.contains(1));
  ASSERT_TRUE(named.contains(168));
  for (ControlId id = 1; id <= 168; ++id) {
    const ControlSpec* row = FindControl(id);
    if (named.contains(id)) {
      ASSERT_NE(row, nullptr) << "id " << id;
      EXPECT_EQ(row->id, id);
    } else {
      EXPECT_EQ(row, nullptr) << "id " << id;
    }
  }
}

TEST(ControlTableTest, FindControlGivesNullForIdsNoControlHas) {
  for (ControlId id : {cid::none, 5, 999, -1, 169, 1000000, -1000000}) {
    EXPECT_EQ(FindControl(id), nullptr) << "id " << id;
  }
}

// The named ids point at the controls they are named after.
TEST(ControlTableTest, NamedIdsMatchTheirControls) {
  struct Case {
    ControlId id;
    std::string_view setting;
  };
  const Case keyed[] = {
      {cid::level, "level"},
      {cid::ssim, "ssim"},
      {cid::psnr, "psnr"},
      {cid::minsize, "minsize"},
      {cid::maxsize, "maxsize"},
      {cid::mode, "mode"},
      {cid::sizemode, "sizemode"},
      {cid::value, "value"},
      {cid::auto1pcrf, "auto1pcrf"},
      {cid::presetname, "presetname"},
      {cid::avsinc, "avsinc"},
      {cid::upstat, "upstat"},
      {cid::crelog, "crelog"},
      {cid::statsfile, "statsfile"},
      {cid::logfile, "logfile"},
      {cid::input, "input"},
      {cid::output, "output"},
      {cid::kfb, "kfb"},
      {cid::bfr, "bfr"},
      {cid::vbr, "vbr"},
      {cid::chromaqpoffset, "chromaqpoffset"},
      {cid::minqp, "minqp"},
      {cid::maxqp, "maxqp"},
      {cid::qps, "qps"},
      {cid::vbs, "vbs"},
      {cid::vmb, "vmb"},
      {cid::vib, "vib"},
      {cid::bv, "bv"},
      {cid::sct, "sct"},
      {cid::mingop, "mingop"},
      {cid::maxgop, "maxgop"},
      {cid::aq, "aq"},
      {cid::aq1, "aq1"},
      {cid::dzinter, "dzinter"},
      {cid::dzintra, "dzintra"},
      {cid::a1, "a1"},
      {cid::a2, "a2"},
      {cid::a3, "a3"},
      {cid::a4, "a4"},
      {cid::a5, "a5"},
      {cid::a6, "a6"},
      {cid::biasbar, "biasbar"},
      {cid::mb, "mb"},
      {cid::bias, "bias"},
      {cid::bref, "bref"},
      {cid::ba, "ba"},
      {cid::bfoptimal, "bfoptimal"},
      {cid::bwb, "bwb"},
      {cid::dm, "dm"},
      {cid::directpm, "directpm"},
      {cid::psyrd_rdo, "psyrd_rdo"},
      {cid::psyrd_tre, "psyrd_tre"},
      {cid::m, "m"},
      {cid::ms, "ms"},
      {cid::range, "range"},
      {cid::ref, "ref"},
      {cid::chromame, "chromame"},
      {cid::mxref, "mxref"},
      {cid::fastpsk, "fastpsk"},
      {cid::dctd, "dctd"},
      {cid::arx, "arx"},
      {cid::ary, "ary"},
      {cid::apin, "apin"},
      {cid::thr, "thr"},
      {cid::cab, "cab"},
      {cid::tre, "tre"},
      {cid::nr, "nr"},
      {cid::fil, "fil"},
      {cid::cqm, "cqm"},
      {cid::deb_a, "deb-a"},
      {cid::deb_b, "deb-b"},
      {cid::fa, "fa"},
      {cid::fb, "fb"},
      {cid::aud, "aud"},
      {cid::aub, "aub"},
      {cid::ae, "ae"},
      {cid::muxer, "muxer"},
      {cid::jobList, "JobList"},
  };
  for (const Case& c : keyed) {
    const ControlSpec* row = FindControl(c.id);
    ASSERT_NE(row, nullptr) << c.setting;
    EXPECT_EQ(row->setting, c.setting);
  }

  struct Captioned {
    ControlId id;
    ControlKind kind;
    std::string_view caption;
  };
  const Captioned captioned[] = {
      {cid::loadDefault, ControlKind::Button, "Load Default"},
      {cid::add, ControlKind::Button, "Add"},
      {cid::banner, ControlKind::Picture, ""},
      {cid::minsizeLabel, ControlKind::Label, "Min size(MB):"},
      {cid::maxsizeLabel, ControlKind::Label, "Max size(MB):"},
      {cid::refresh, ControlKind::Button, "Refresh"},
      {cid::valueLabel, ControlKind::Label, "Quantizer"},
      {cid::rangeLabel, ControlKind::Label, "Range 0~51"},
      {cid::auto1pcrfLabel, ControlKind::Label, "CRF Value for first pass:"},
      {cid::savePreset, ControlKind::Button, "Save"},
      {cid::loadPreset, ControlKind::Button, "Load"},
      {cid::batchAdding, ControlKind::Button, "Batch Adding"},
      {cid::statsfileBrowse, ControlKind::Button, "..."},
      {cid::logfileBrowse, ControlKind::Button, "..."},
      {cid::inputBrowse, ControlKind::Button, "..."},
      {cid::outputBrowse, ControlKind::Button, "..."},
      {cid::makeBat, ControlKind::Button, "Make BAT"},
      {cid::clear, ControlKind::Button, "Clear"},
      {cid::disable, ControlKind::Button, "Disable"},
      {cid::start, ControlKind::Button, "Start"},
      {cid::view, ControlKind::Button, "view"},
      {cid::up, ControlKind::Button, "up"},
      {cid::down, ControlKind::Button, "down"},
      {cid::edit, ControlKind::Button, "edit"},
      {cid::del, ControlKind::Button, "del"},
      {cid::shut, ControlKind::Button, "Shut"},
  };
  for (const Captioned& c : captioned) {
    const ControlSpec* row = FindControl(c.id);
    ASSERT_NE(row, nullptr) << c.caption;
    EXPECT_EQ(row->kind, c.kind) << c.caption;
    EXPECT_EQ(row->caption, c.caption);
  }

  // The browse buttons sit right of their fields.
  const std::pair<ControlId, ControlId> browse[] = {
      {cid::statsfile, cid::statsfileBrowse},
      {cid::logfile, cid::logfileBrowse},
      {cid::input, cid::inputBrowse},
      {cid::output, cid::outputBrowse},
  };
  for (const auto& [field, button] : browse) {
    EXPECT_EQ(FindControl(field)->y, FindControl(button)->y) << "field " << field;
    EXPECT_GT(FindControl(button)->x, FindControl(field)->x) << "field " << field;
  }
}

TEST(ControlTableTest, PageCaptionsAreTheFiveTabsInOrder) {
  const std::vector<std::string_view> want = {"Bitrate", "Rate Control", "MBs&&Frames", "More",
                                              "Job"};
  const std::span<const std::string_view> got = PageCaptions();
  ASSERT_EQ(got.size(), static_cast<size_t>(kPageCount));
  EXPECT_EQ(std::vector<std::string_view>(got.begin(), got.end()), want);
}

TEST(ControlTableTest, EveryPageHasControls) {
  std::map<Page, int> count;
  for (const ControlSpec& row : ControlTable()) ++count[row.page];
  EXPECT_EQ(count[Page::Outside], 3);
  for (Page page : {Page::Bitrate, Page::RateControl, Page::MBsFrames, Page::More, Page::Job})
    EXPECT_GT(count[page], 0) << static_cast<int>(page);
}

TEST(MemoryWindowFromTableTest, StartsWithCaptionsAndEmptyLists) {
  const MemoryWindow window;
  for (const Row& row : Layout()) {
    if (row.id == cid::none) continue;
    SCOPED_TRACE(row.line);
    ASSERT_TRUE(window.has(row.id));
    EXPECT_TRUE(window.visible(row.id));
    EXPECT_EQ(window.enabled(row.id), !row.startsDisabled);
    if (IsList(row.kind)) {
      EXPECT_EQ(window.state(row.id), -1);
      EXPECT_EQ(window.itemCount(row.id), 0);
      EXPECT_EQ(window.text(row.id), "");
    } else {
      EXPECT_EQ(window.text(row.id), row.caption);
      EXPECT_EQ(window.state(row.id), 0);
    }
  }
  EXPECT_FALSE(window.enabled(cid::directpm));
  EXPECT_FALSE(window.has(cid::none));
}

// The options of the table take effect in the window built from it.
TEST(MemoryWindowFromTableTest, TypingAndTrackLimitsFollowTheTable) {
  struct Typing {
    ControlId id;
    std::string_view typed;
    std::string_view held;
  };
  const Typing typing[] = {
      {cid::bias, "1234", "123"},                              // three characters at most
      {cid::bias, "-5", "-5"},                                 // but any characters
      {cid::kfb, "4a-2", "42"},                                // digits only
      {cid::maxgop, "25 0", "250"}, {cid::vbs, "1.5", "1.5"},  // a plain field takes anything
      {cid::mb, "12345", "12345"},                             // no length limit
  };
  for (const Typing& t : typing) {
    MemoryWindow window;
    EXPECT_EQ(window.type(t.id, t.typed), t.held) << "id " << t.id << " typed " << t.typed;
  }

  struct Track {
    ControlId id;
    int set;
    int held;
  };
  const Track tracks[] = {
      {cid::biasbar, 200, 200}, {cid::biasbar, 201, 200}, {cid::deb_a, 12, 12},
      {cid::deb_a, 13, 12},     {cid::deb_b, 50, 12},     {cid::deb_b, -3, 0},
  };
  for (const Track& t : tracks) {
    MemoryWindow window;
    window.setState(t.id, t.set);
    EXPECT_EQ(window.state(t.id), t.held) << "id " << t.id << " set " << t.set;
  }
}

}  // namespace
