#include "sampledisc/sample_items.h"

#include "sampledisc/sample_archives.h"

namespace kavlo::sample {

std::vector<SampleItem> SampleDemos();
std::vector<SampleItem> SampleSoftware();
std::vector<SampleItem> SampleExtras();

std::string KeyValue(const std::vector<std::string>& keys, const std::string& name) {
    for (const std::string& line : keys) {
        if (line.size() > name.size() && line[name.size()] == '=' &&
            line.compare(0, name.size(), name) == 0) {
            return line.substr(name.size() + 1);
        }
    }
    return {};
}

SampleCatalogue BuildSampleCatalogue() {
    SampleCatalogue catalogue;
    // Disc A of a two-disc set for the December 2026 issue; a few demos live on disc B.
    catalogue.main_keys = {
        "CD=1226",
        "CDLabel=KAVLO_1226A",
        "DVD=0",
        "NumberOfCD=2",
        "ActualCD=1",
        "SharewareCD=1",
        "UpdatesCD=1",
        "MoviesCD=1",
        "ReadersCD=1",
        "FullsCD=1",
        "DriversCD=1",
        "ExtraCD=1",
        "AddonsCD=1",
        "DovudizEnabled=1",
        "Dovudiz=Pixel Workshop",
        "DovudizText=Our partners from the Pixel Workshop show how a level for Frostbite Rally is built, "
        "from the first sketch to the finished track. Open the guide & follow the steps.",
        "DovudizAuthors=Text & pictures: the Pixel Workshop team",
        "DovudizPath=Dovudiz\\index.htm",
        "Debug=0",
        "Redarer=1",
        "AcrobatReader=Servis\\PDFREAD\\SETUP.EXE",
        "Music0=Music: \"Graphite Nights\" by the Kavlo house band",
        "Music1=Hudba: \"Grafitové noci\" - domácí kapela Kavla",
        "Music2=Müzik: \"Grafit Geceleri\" - Kavlo grubu",
        "Music3=Muzica: \"Nopți de grafit\" - formația Kavlo",
        "Music4=Hudba: \"Grafitové noci\" - domáca kapela Kavla",
        "Music5=Musik: \"Graphitnächte\" von der Kavlo-Hausband",
        "Music6=Musik: \"Malam Grafit\" oleh band Kavlo",
    };
    for (auto* part : {&SampleDemos, &SampleSoftware, &SampleExtras}) {
        for (SampleItem& item : (*part)()) {
            StateArchiveTotals(item);
            catalogue.items.push_back(std::move(item));
        }
    }
    catalogue.updates = {
        "Frostbite Rally;1.02;FROST102.EXE;FROST102.TXT;0",
        "Harbour Lights;1.1 (EN);HARB11.EXE;;0",
        "Iron Meridian & Co;patch 3;IRONP3.EXE;IRONP3.TXT;0",
        "Saltmarsh Tactics;1.05;SALT105.EXE",
        "Glass Orbit;map pack;ORBITMAP.EXE;ORBITMAP.TXT;1",
        "Copper Skies~beta;0.9;COPPER09.EXE;COPPER09.TXT;0",
    };
    return catalogue;
}

} // namespace kavlo::sample
