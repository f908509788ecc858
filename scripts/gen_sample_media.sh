#!/usr/bin/env bash
# Generates the substitute VOD server's sample content into one folder (default
# build/bin/devserver-media): three MPEG-TS clips from ffmpeg's test sources and the pictures of
# the ad/OSD list. Nothing comes from outside the project. The folder is replaced as a whole, so
# an interrupted run never leaves half a set behind.
#
#   movie.ts    60 s, counter test picture, 440 Hz tone  (the catalogue's movies)
#   ad.ts        5 s, colour bars, 880 Hz tone           (the advertisement clip)
#   preview.ts  20 s, moving test picture, 660 Hz tone   (previews)
#   adv/<CATEGORY>/<path>  pictures of the ad/OSD list, one folder per category
#
# Video is H.264 at 320x240, 25 frames/s, with a key frame every second and no B-frames, so a
# stream cut at any key frame decodes at once; audio is mono AAC.
set -euo pipefail

out=${1:-"$(dirname "$0")/../build/bin/devserver-media"}
parent=$(dirname "$out")
mkdir -p "$parent"
tmp=$(mktemp -d "$parent/.devserver-media.XXXXXX")
chmod 755 "$tmp"
trap 'rm -rf "$tmp"' EXIT

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }

clip() { # clip <file> <seconds> <video source> <tone Hz>
  ff -f lavfi -i "$3=size=320x240:rate=25" -f lavfi -i "sine=frequency=$4:sample_rate=44100" -t "$2" \
    -c:v libx264 -preset ultrafast -tune zerolatency -g 25 -keyint_min 25 -sc_threshold 0 -pix_fmt yuv420p \
    -c:a aac -b:a 64k -ac 1 -f mpegts "$tmp/$1"
}

picture() { # picture <relative path> <colour> <size>
  mkdir -p "$(dirname "$tmp/adv/$1")"
  ff -f lavfi -i "color=c=$2:size=$3,drawbox=x=4:y=4:w=iw-8:h=ih-8:color=white@0.6:t=3" -frames:v 1 "$tmp/adv/$1"
}

clip movie.ts 60 testsrc 440
clip ad.ts 5 smptebars 880
clip preview.ts 20 testsrc2 660

# Category MAIN feeds the overlay folders of ordinary titles, ADULT those of rating class "Y";
# EVENT shows a file in a sub-folder that the overlay does not read.
picture MAIN/logo/3000_lodge.png orange 96x32
picture MAIN/logo/5000_welcome.png steelblue 96x32
picture MAIN/slogo/3000_lodge.png orange 96x32
picture ADULT/logoa/4000_night.png purple 96x32
picture ADULT/slogoa/4000_night.png purple 96x32
picture EVENT/promo/banner.jpg darkgreen 160x48

rm -rf "$out"
mv "$tmp" "$out"
trap - EXIT
