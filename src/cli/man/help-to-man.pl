#!/usr/bin/perl
# Writes the manual page of quorvex-cli from its own --help and --version, so the page
# lists exactly the options of the option table (src/cli/CliOptions.cpp), each with its
# example. The frame of the page (name, see also, ...) is the template.
#   perl help-to-man.pl TEMPLATE OUTPUT COMMAND...
# COMMAND... runs quorvex-cli (an emulator may come first); its output is UTF-8.
use strict;
use warnings;
use utf8;
use open qw(:std :encoding(UTF-8));

my ($template, $output, @command) = @ARGV;
die "usage: help-to-man.pl TEMPLATE OUTPUT COMMAND...\n" unless @command;

sub run_cli {
    my @args = @_;
    open(my $pipe, '-|', @command, @args) or die "cannot run @command: $!\n";
    local $/;
    my $text = <$pipe> // '';
    close($pipe) or die "@command @args failed\n";
    return $text;
}

# Roff text: backslashes escaped, option dashes as minus signs, no line taken for a request.
sub esc {
    my ($s) = @_;
    $s =~ s/\\/\\e/g;
    $s =~ s/(?<![\p{L}\p{N}])-/\\-/g;
    $s =~ s/^([.'])/\\&$1/mg;
    # French spacing: no line break inside « », nor before : ; ! ?
    $s =~ s/« /«\\ /g;
    $s =~ s/ (»|[:;!?](?=\s|$))/\\ $1/g;
    return $s;
}

# A command line to copy: every dash literal.
sub command_line {
    my ($s) = @_;
    $s = esc($s);
    $s =~ s/(?<!\\)-/\\-/g;
    return $s;
}

my @help = split /\n/, run_cli('--help');
my @version = split /\n/, run_cli('--version');
my ($number) = $version[0] =~ /(\S+)\s*$/ or die "no version in --version\n";

# The help: usage lines, description up to "Options :", one block per option, then notes.
my (@usages, @description, @options, @notes);
my $i = 0;
while ($i < @help && $help[$i] ne '') {
    my $line = $help[$i++];
    if ($line =~ /^(?:Usage :)?\s+(quorvex-cli\b.*)$/) {
        push @usages, $1;
    } else {
        $line =~ s/^\s+//;
        $usages[-1] .= " $line";
    }
}
while ($i < @help && $help[$i] !~ /^Options :$/) {
    push @description, $help[$i++];
}
$i++;
while ($i < @help && $help[$i] ne '') {
    my $line = $help[$i++];
    if ($line =~ /^  (-\S+)(?: (.*))?$/) {
        push @options, { name => $1, value => $2, help => [], example => undef };
    } elsif ($line =~ /^\s+exemple : (.*)$/) {
        $options[-1]{example} = $1;
    } else {
        $line =~ s/^\s+//;
        push @{ $options[-1]{help} }, $line;
    }
}
@notes = @help[$i .. $#help];
die "no option in --help\n" unless @options;
for my $o (@options) {
    die "no example for $o->{name}\n" unless defined $o->{example};
}

my $synopsis = join "\n.br\n", map {
    my ($prog, $rest) = /^(\S+)\s*(.*)$/;
    ".B " . esc($prog) . "\n" . esc($rest);
} @usages;

my $descr = join("\n", map { s/^\s+//r } grep { $_ ne '' } @description);
$descr = esc($descr);

my $opts = join "\n", map {
    my $o = $_;
    my $term = "\\fB" . esc($o->{name}) . "\\fR";
    $term .= " \\fI" . esc($o->{value}) . "\\fR" if defined $o->{value};
    ".TP\n$term\n" . esc(join(' ', @{ $o->{help} })) . "\n.br\n.nf\n"
        . "exemple\\ : \\fB" . command_line($o->{example}) . "\\fR\n.fi";
} @options;

# Notes: paragraphs, and tables whose columns stand three blanks or more apart.
my @out;
my @row;
for my $line (@notes) {
    if ($line eq '') {
        push @out, '.PP' if @out && $out[-1] ne '.PP';
    } elsif ($line =~ /^\S/) {
        push @out, esc($line);
    } elsif ($line =~ /^ {2}\S/) {
        my @fields = split / {3,}/, substr($line, 2);
        while (@fields) {
            my ($t, $d) = (shift @fields, shift @fields);
            push @out, '.TP', '\\fB' . esc($t) . '\\fR', defined $d ? esc($d) : '';
        }
    } else {
        push @out, esc($line =~ s/^\s+//r);
    }
}
shift @out while @out && $out[0] eq '.PP';
pop @out while @out && $out[-1] eq '.PP';
my $notes = join "\n", grep { $_ ne '' } @out;

my $licence = join("\n.br\n", map { esc($_) } @version[1 .. $#version]);

open(my $in, '<', $template) or die "cannot read $template: $!\n";
my $page = do { local $/; <$in> };
close($in);
my %fill = (VERSION => $number, SYNOPSIS => $synopsis, DESCRIPTION => $descr,
            OPTIONS => $opts, NOTES => $notes, LICENCE => $licence);
$page =~ s/\@([A-Z]+)\@/exists $fill{$1} ? $fill{$1} : die "unknown \@$1\@\n"/ge;

open(my $out, '>', "$output.tmp") or die "cannot write $output: $!\n";
print $out $page;
close($out) or die "cannot write $output: $!\n";
rename("$output.tmp", $output) or die "cannot write $output: $!\n";
