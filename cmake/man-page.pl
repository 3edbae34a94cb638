#!/usr/bin/perl
# Writes one language's manual page from a source that holds both:
#   perl man-page.pl SOURCE fr|en OUTPUT VERSION [COMMAND...]
# The source is roff. Lines between "@fr" and "@end" go to the French page only, between
# "@en" and "@end" to the English one; the others to both. @VERSION@ is the version.
# With COMMAND (a program, an emulator may come first), its --help and --version fill
# @SYNOPSIS@, @DESCRIPTION@, @OPTIONS@, @NOTES@ and @LICENCE@ of the French page, whose text
# they are; the English page takes its option texts from the source:
#   @option --name         the lines up to the next blank line describe the option
#   @word FICHIER FILE     a value name of the help, as the English page writes it
#   @say FRENCH => ENGLISH a sentence of the help's usage lines, in English
# An option or sentence of the help without its English is written in French and flagged
# by a line ".\" untranslated: ..." that the manual page test reports.
use strict;
use warnings;
use utf8;
use open qw(:std :encoding(UTF-8));
use File::Basename qw(dirname);
use File::Path qw(make_path);

my ($source, $lang, $output, $number, @command) = @ARGV;
die "usage: man-page.pl SOURCE fr|en OUTPUT VERSION [COMMAND...]\n"
    unless defined $number && $lang =~ /^(fr|en)$/;

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

# The source: this language's lines, and the English texts of the help.
open(my $in, '<', $source) or die "cannot read $source: $!\n";
my (@lines, %english_option, %english_word, %english_sentence);
my $block = '';
my $option;
while (my $line = <$in>) {
    chomp $line;
    if ($line =~ /^\@(fr|en)$/) {
        $block = $1;
        next;
    }
    if ($line eq '@end') {
        $block = '';
        next;
    }
    if (defined $option) {
        if ($line eq '') {
            undef $option;
        } else {
            $english_option{$option} .= (exists $english_option{$option} ? ' ' : '') . $line;
        }
        next;
    }
    if ($line =~ /^\@option (\S+)$/) {
        $option = $1;
        next;
    }
    if ($line =~ /^\@word (\S+) (\S+)$/) {
        $english_word{$1} = $2;
        next;
    }
    if ($line =~ /^\@say (.*?) => (.*)$/) {
        $english_sentence{$1} = $2;
        next;
    }
    push @lines, $line if $block eq '' || $block eq $lang;
}
close($in);
my $page = join("\n", @lines) . "\n";
my %fill = (VERSION => $number);
my @untranslated;

if (@command) {
    my @help = split /\n/, run_cli('--help');
    # The lexicon's line names a folder of the machine that runs the program: not for the page.
    my @version = grep { !/^Lexique latin :/ } split /\n/, run_cli('--version');

    # The help: usage lines, description up to "Options :", one block per option, notes.
    # A usage line that goes on is indented past the program's name; a line of options
    # alone stands for itself, and one in words is a sentence of its own.
    my (@usages, @description, @options, @notes);
    my $i = 0;
    while ($i < @help && $help[$i] ne '') {
        my $line = $help[$i++];
        $line =~ s/^Usage :/        /;
        my ($indent, $text) = $line =~ /^( *)(.*)$/;
        if ($text =~ /^quorvex/) {
            push @usages, { command => $text };
        } elsif ($text =~ /^[\[-]/ && length($indent) >= 12 && @usages && exists $usages[-1]{command}) {
            $usages[-1]{command} .= " $text";
        } elsif ($text =~ /^[\[-]/) {
            push @usages, { syntax => $text };
        } else {
            push @usages, { sentence => $text };
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
            push @{ $options[-1]{help} }, $line =~ s/^\s+//r;
        }
    }
    @notes = @help[$i .. $#help];
    die "no option in --help\n" unless @options;
    for my $o (@options) {
        die "no example for $o->{name}\n" unless defined $o->{example};
    }

    # Value names (FICHIER, FORME2...) in the English page's words; "FICHIER.svg" too.
    my $words = sub {
        my ($s) = @_;
        return $s if $lang eq 'fr';
        $s =~ s/\b([A-Z][A-Z0-9]*)\b/exists $english_word{$1} ? $english_word{$1} : $1/ge;
        return $s;
    };

    $fill{SYNOPSIS} = join "\n.br\n", map {
        if (exists $_->{command}) {
            my ($prog, $rest) = $_->{command} =~ /^(\S+)\s*(.*)$/;
            ".B " . esc($prog) . "\n" . esc($words->($rest));
        } elsif (exists $_->{syntax}) {
            esc($words->($_->{syntax}));
        } else {
            my $s = $_->{sentence};
            if ($lang eq 'en') {
                if (exists $english_sentence{$s}) {
                    $s = $english_sentence{$s};
                } else {
                    push @untranslated, "sentence \"$s\"";
                }
            }
            ".I " . esc($s);
        }
    } @usages;

    $fill{DESCRIPTION} = esc(join("\n", map { s/^\s+//r } grep { $_ ne '' } @description));

    $fill{OPTIONS} = join "\n", map {
        my $o = $_;
        my $term = "\\fB" . esc($o->{name}) . "\\fR";
        $term .= " \\fI" . esc($words->($o->{value})) . "\\fR" if defined $o->{value};
        my $text = join(' ', @{ $o->{help} });
        if ($lang eq 'en') {
            if (exists $english_option{$o->{name}}) {
                $text = $english_option{$o->{name}};
            } else {
                push @untranslated, "option $o->{name}";
            }
        }
        my $example = $lang eq 'fr' ? 'exemple\\ :' : 'example:';
        ".TP\n$term\n" . esc($text) . "\n.br\n.nf\n"
            . "$example \\fB" . command_line($o->{example}) . "\\fR\n.fi";
    } @options;
    for my $name (sort keys %english_option) {
        die "$source: \@option $name is not an option of the help\n"
            unless grep { $_->{name} eq $name } @options;
    }

    # Notes: paragraphs, and tables whose columns stand three blanks or more apart.
    my @out;
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
    $fill{NOTES} = join "\n", grep { $_ ne '' } @out;

    $fill{LICENCE} = join("\n.br\n", map { esc($_) } @version[1 .. $#version]);
    my ($said) = $version[0] =~ /(\S+)\s*$/ or die "no version in --version\n";
    die "--version says $said, the build $number\n" unless $said eq $number;
}

$page =~ s/\@([A-Z]+)\@/exists $fill{$1} ? $fill{$1} : die "unknown \@$1\@ in $source\n"/ge;
# man in the C locale renders for ASCII, where groff has no stand-in for the letters that
# Windows-1252 adds to Latin-1 (it drops them with a warning): the plain letter stands in.
my $fallbacks = join '', map { ".fchar \\[$_->[0]] $_->[1]\n" }
    ['vs', 's'], ['vS', 'S'], ['vz', 'z'], ['vZ', 'Z'], [':Y', 'Y'];
$page =~ s/^(\.TH .*\n)/$1$fallbacks/m or die "$source: no .TH line\n";
if (@untranslated) {
    print STDERR "$source: no English for $_\n" for @untranslated;
    $page .= join('', map { ".\\\" untranslated: $_\n" } @untranslated);
}

make_path(dirname($output));
open(my $out, '>', "$output.tmp") or die "cannot write $output: $!\n";
print $out $page;
close($out) or die "cannot write $output: $!\n";
rename("$output.tmp", $output) or die "cannot write $output: $!\n";
