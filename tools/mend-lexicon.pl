#!/usr/bin/perl
# Mends the lines of a fetched Collatinus lexicon that its reader cannot read, as
# tools/lexicon-corrections.tsv lists them. A line already mended is left; a line found
# neither as shipped nor as mended (another version of the package) is said and left, for
# quorvex-cli --lexicon-check to tell what remains.
#   mend-lexicon.pl CORRECTIONS.tsv FOLDER
use strict;
use warnings;

my ($table, $folder) = @ARGV;
die "usage: mend-lexicon.pl CORRECTIONS.tsv FOLDER\n" unless defined $folder;
open(my $t, '<:raw', $table) or die "mend-lexicon: $table: $!\n";
my %byFile;
while (my $entry = <$t>) {
    chomp $entry;
    next if $entry =~ /^#/ || $entry eq '';
    my ($file, $number, $shipped, $mended, $why) = split /\t/, $entry;
    die "mend-lexicon: $table: five fields expected: $entry\n" unless defined $why;
    push @{$byFile{$file}}, [$number, $shipped, $mended];
}
close $t;

for my $file (sort keys %byFile) {
    my $path = "$folder/$file";
    open(my $in, '<:raw', $path) or die "mend-lexicon: $path: $!\n";
    my @lines = <$in>;
    close $in;
    my $changed = 0;
    for my $c (@{$byFile{$file}}) {
        my ($number, $shipped, $mended) = @$c;
        my $done = 0;
        # Where the table says first, then anywhere: a later package may have moved it.
        for my $i ($number - 1, 0 .. $#lines) {
            next if $i < 0 || $i > $#lines;
            (my $line = $lines[$i]) =~ s/(\r?\n)\z//;
            my $end = $1 // '';
            if ($line eq $mended) { $done = 1; last; }
            if ($line eq $shipped) { $lines[$i] = $mended . $end; $done = 1; $changed = 1; last; }
        }
        print STDERR "mend-lexicon: $file:$number not found, left as it is\n" unless $done;
    }
    next unless $changed;
    open(my $out, '>:raw', "$path.new") or die "mend-lexicon: $path.new: $!\n";
    print $out @lines or die "mend-lexicon: $path.new: $!\n";
    close $out or die "mend-lexicon: $path.new: $!\n";
    rename "$path.new", $path or die "mend-lexicon: $path: $!\n";
}
