#pragma once

// The characters the text columns the program writes from typed boxes hold.
namespace data::column_sizes {

constexpr int fio = 254;     // accounts_dep.person.fio, a worker's name
constexpr int marka = 254;   // the goods register's s_caption, the product mark
constexpr int vid = 128;     // accounts_dep.vid_oper.vid, char(128), an operation kind's name

}  // namespace data::column_sizes
