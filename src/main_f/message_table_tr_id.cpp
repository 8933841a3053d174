// The Turkish and Indonesian blocks of the built-in message table. Turkish discs take their texts
// from strings.ini, so the menu never looks the Turkish block up; it stays in the table so that every
// language has its block, and it is encoded in Windows-1254, the code page Turkish discs draw with.
#include "main_f/texts.h"

namespace kavlo {

namespace {

constexpr MessageSource kTurkish[] = {
    {201, "KURULU"},
    {202, "DEMOLAR"},
    {203, "YAZILIM"},
    {204, "EKSTRA"},
    {205, "GÜNCELLEMELER"},
    {206, "SÜRÜCÜLER"},
    {207, "GÖRÜNTÜLER"},
    {208, "FRAGMANLAR"},
    {210, "Video oynatıcı kur"},
    {211, "%1 içindeki tüm dosyaları silmek istiyor musunuz?"},
    {213, "Tüm dosyalar \\SHAREWARE dizininde bulunur"},
    {214, "Bu demoyu %1 dizinine kurmak istiyor musunuz?"},
    {215, "Dizin oluşturulamıyor!"},
    {216, "Dizin seçimi"},
    {229, "Bu oyun nereye kurulu?"},
    {230, "Bu güncellemeyi %1 dizinine kurmak istiyor musunuz?"},
    {231, "Bu programı %1 dizinine kurmak istiyor musunuz?"},
    {232, "Nereye kurmak istiyorsunuz?"},
    {233, "Bu menüyle herhangi bir CD'den kurulan tüm programları buradan kaldırabilirsiniz!"},
    {234, "Kaldırma işleminden sonra %1 dizininde bazı dosyalar kaldı. Bunlar genellikle silinmemiş kayıtlı "
          "oyunlar, resimler veya geçici dosyalardır. Bunları silmek istiyor musunuz (önerilir)?"},
    {235, "%1 MB veriyi gerçekten silmek istiyor musunuz?"},
    {240, "kuruluyor"},
    {241, "hedef"},
    {250, "Kurulumdan gerçekten çıkmak istiyor musunuz?"},
    {261, "Güncellemeler, oyunların geliştiricilerinin yayımladığı programlardır. Oyunlarda bulunan hataları "
          "düzeltir veya yeni özellikler eklerler. Bir güncellemeyi kurmadan önce oyunun kurulumunu "
          "(kayıtlı oyunlar dahil) yedeklemenizi öneririz."},
    {273, "KENAR PANELİ"},
    {274, "EFEKTLER"},
    {275, "MÜZİK"},
    {276, "ÇIKIŞ TARİHİ"},
    {278, "SON GÜNCELLEME"},
    {279, "ÜCRETSİZ OYUNLAR"},
    {280, "DivX codec gerektirir (Sürücüler bölümünde)."},
    {281, "ÇALIŞTIR"},
    {282, "KALDIR"},
    {283, "BENİOKU"},
    {284, "WEB SAYFASI"},
    {285, "KAPALI"},
    {286, "OYNANAMAZ"},
    {287, "AÇIK"},
    {288, "3D DESTEĞİ"},
    {289, "OYNANABİLİR"},
    {290, "ÇIKIŞ"},
    {291, "AYARLAR"},
    {292, "DURUM: KAPALI"},
    {293, "DURUM: AÇIK"},
    {294, "Kenar panelini ve animasyonlarını açar (1024x768'den yüksek çözünürlükler için önerilir)."},
    {295, "Resimler yüklenirken saydamlık gibi özel efektler. Yavaş bilgisayarlarda kapatılması önerilir."},
    {296, "KUR"},
    {297, "AĞ OYUNU"},
    {298, "ÇEKÇE"},
    {299, "AYDINLATMA"},
};

constexpr MessageSource kIndonesian[] = {
    {601, "TERINSTAL"},
    {602, "DEMO"},
    {603, "PERANGKAT LUNAK"},
    {604, "EKSTRA"},
    {605, "PEMBARUAN"},
    {606, "DRIVER"},
    {607, "GAMBAR"},
    {608, "CUPLIKAN"},
    {610, "Instal pemutar video"},
    {611, "Apakah Anda ingin menghapus semua file di %1 ?"},
    {613, "Semua file tersimpan di direktori \\SHAREWARE"},
    {614, "Apakah Anda ingin menginstal demo ini di %1 ?"},
    {615, "Tidak dapat membuat direktori!"},
    {616, "Pilih direktori"},
    {629, "Di mana game ini diinstal?"},
    {630, "Apakah Anda ingin menginstal pembaruan ini ke %1 ?"},
    {631, "Apakah Anda ingin menginstal program ini ke %1 ?"},
    {632, "Di mana Anda ingin menginstalnya?"},
    {633, "Di sini Anda dapat menghapus semua program yang diinstal dengan menu ini dari CD mana pun!"},
    {634, "Setelah proses penghapusan, beberapa file masih tertinggal di direktori %1. Biasanya berupa "
          "simpanan permainan, gambar, atau file sementara yang tidak terhapus. Apakah Anda ingin "
          "menghapusnya (disarankan)?"},
    {635, "Apakah Anda yakin ingin menghapus %1 MB ?"},
    {640, "sedang diinstal"},
    {641, "ke"},
    {650, "Apakah Anda yakin ingin membatalkan instalasi ini?"},
    {661, "Pembaruan adalah program yang dirilis sendiri oleh pembuat game. Pembaruan memperbaiki kesalahan "
          "yang ditemukan dalam game atau menambahkan fitur baru. Sebelum memasang pembaruan, sebaiknya "
          "Anda mencadangkan instalasi game (termasuk simpanan permainan)."},
    {673, "PANEL BINGKAI"},
    {674, "EFEK"},
    {675, "MUSIK"},
    {676, "TANGGAL RILIS"},
    {678, "PEMBARUAN TERAKHIR"},
    {679, "GAME GRATIS"},
    {680, "Memerlukan codec DivX (di Driver)."},
    {681, "JALANKAN"},
    {682, "HAPUS INSTALASI"},
    {683, "BACA SAYA"},
    {684, "SITUS WEB"},
    {685, "MATI"},
    {686, "TIDAK DAPAT DIMAINKAN"},
    {687, "NYALA"},
    {688, "DUKUNGAN 3D"},
    {689, "DAPAT DIMAINKAN"},
    {690, "KELUAR"},
    {691, "PENGATURAN"},
    {692, "STATUS: NONAKTIF"},
    {693, "STATUS: AKTIF"},
    {694, "Menampilkan panel bingkai beserta animasinya (disarankan untuk resolusi di atas 1024x768)."},
    {695, "Efek khusus seperti transparansi saat memuat gambar. Pemilik komputer yang lebih lambat "
          "sebaiknya mematikannya."},
    {696, "INSTAL"},
    {697, "MAIN DI JARINGAN"},
    {698, "BERBAHASA CEKO"},
    {699, "PENCAHAYAAN"},
};

} // namespace

std::span<const MessageSource> TurkishMessages() {
    return kTurkish;
}
std::span<const MessageSource> IndonesianMessages() {
    return kIndonesian;
}

} // namespace kavlo
