#include "sampledisc/disc_writer.h"

#include <fstream>

namespace kavlo::sample {

std::filesystem::path DiscWriter::HostPath(std::string_view disc_path) const {
    std::string rel(disc_path);
    for (char& c : rel) {
        if (c == '\\') {
            c = '/';
        }
    }
    while (!rel.empty() && rel.front() == '/') {
        rel.erase(0, 1);
    }
    return root_ / rel;
}

void DiscWriter::Write(std::string_view disc_path, std::string_view bytes) {
    const std::filesystem::path path = HostPath(disc_path);
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out && error_.empty()) {
        error_ = "cannot write " + path.string();
    }
}

void DiscWriter::WriteScript(std::string_view disc_path, std::string_view script) {
    Write(disc_path, script);
    std::error_code ec;
    std::filesystem::permissions(HostPath(disc_path),
                                 std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                                     std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add, ec);
}

void DiscWriter::Fail(std::string error) {
    if (error_.empty()) {
        error_ = std::move(error);
    }
}

std::string ReadmeText(std::string_view title, std::string_view body) {
    std::string text(title);
    text += "\r\n";
    text += std::string(title.size(), '=');
    text += "\r\n\r\n";
    text += body;
    text += "\r\n\r\nThis file belongs to the Kavlo sample disc.\r\n";
    return text;
}

// A one-page PDF with the title as its only line; offsets in the cross-reference table are counted.
std::string MinimalPdf(std::string_view title) {
    std::string escaped;
    for (char c : title) {
        if (c == '(' || c == ')' || c == '\\') {
            escaped += '\\';
        }
        escaped += c;
    }
    const std::string stream = "BT /F1 24 Tf 72 720 Td (" + escaped + ") Tj ET";
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(stream.size()) + " >>\nstream\n" + stream + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    };
    std::string pdf = "%PDF-1.4\n";
    std::string xref = "xref\n0 6\n0000000000 65535 f \n";
    int number = 1;
    for (const std::string& body : objects) {
        char offset[24];
        std::snprintf(offset, sizeof offset, "%010zu 00000 n \n", pdf.size());
        xref += offset;
        pdf += std::to_string(number++) + " 0 obj\n" + body + "\nendobj\n";
    }
    const size_t xref_at = pdf.size();
    pdf += xref;
    pdf += "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref_at) + "\n%%EOF\n";
    return pdf;
}

std::string GameScript(std::string_view title) {
    std::string script = "#!/bin/sh\n# A stand-in for the game: it says what it is and ends.\n";
    script += "echo '";
    for (char c : title) {
        script += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    script += " is running.'\n";
    return script;
}

std::string WebPage(std::string_view title, std::string_view body) {
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head><meta charset=\"windows-1250\"><title>";
    page += title;
    page += "</title></head>\n<body style=\"background:#26282b;color:#e8eadf;font-family:sans-serif\">\n<h1>";
    page += title;
    page += "</h1>\n<p>";
    page += body;
    page += "</p>\n</body>\n</html>\n";
    return page;
}

} // namespace kavlo::sample
